// How a run of setup ended, as a value, and what follows from it: the log's
// last line ("Outcome: " and the line) and the exit code deployment tools
// read (Windows Installer's codes):
//   SUCCESS                       0     installed or removed, nothing pending
//   SUCCESS (restart pending)     3010  done; Windows must restart to finish
//   SUCCESS (restarting Windows)  1641  done; the restart was started
//   FAILED (cause)                1603
//   CANCELLED                     1602
//   NOT INSTALLED (detail)        1605  nothing to remove
// Runs that end before they start have codes of their own: another setup is
// running (1618), the log cannot be opened (1622), a bad command line or a
// help request (1639).
#pragma once

#include <string>

namespace stf {

enum ExitCode : int {
  kExitSuccess = 0,
  kExitFailed = 1603,
  kExitCancelled = 1602,
  kExitNotInstalled = 1605,
  kExitAnotherRunning = 1618,
  kExitLogUnwritable = 1622,
  kExitBadCommandLine = 1639,
  kExitRestarting = 1641,
  kExitRestartPending = 3010,
};

// The values cross between our libraries and the dialog library as integers:
// never renumber one.
enum RunOutcome : int {
  kOutcomeUndecided = 0,  // nothing decided it: the run ended before it completed
  kOutcomeSucceeded = 1,
  kOutcomeRestartPending = 2,
  kOutcomeRestarting = 3,
  kOutcomeFailed = 4,
  kOutcomeCancelled = 5,
  kOutcomeNotInstalled = 6,
  // Ends before the start: the reason is the whole detail, and they stay.
  kOutcomeBadCommandLine = 7,  // also /help
  kOutcomeAnotherSetup = 8,
  kOutcomeLogRefused = 9,
  kOutcomeCannotStart = 10,
};

// A value from another library, checked: anything unknown is undecided.
RunOutcome OutcomeFromValue(int value);

bool EndsBeforeStart(RunOutcome outcome);
bool IsDone(RunOutcome outcome);  // a success, with or without a restart

// The exit code of an unattended run.
int ExitCodeOf(RunOutcome outcome);

// The outcome line without "Outcome: ". detail is what decided a failure or
// a nothing-to-remove ("a setup error ended the installation"), cause the
// failure's first error record; a failure names both, an end before the
// start only its detail.
std::string OutcomeLine(RunOutcome outcome, const std::string& detail, const std::string& cause);

// What a restart that Windows refused leaves of the outcome.
RunOutcome AfterRefusedRestart(RunOutcome outcome);

}  // namespace stf
