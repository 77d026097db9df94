// How a run of setup ended, as the log's last line says it and as deployment
// tools read it from the exit code (Windows Installer's codes). The outcome
// text is the part of "Outcome: ..." after the colon:
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

// The outcome text the dialog library gives ("SUCCESS, restart pending",
// "FAILED (why)", ...) in its canonical form "WORD" or "WORD (detail)".
// Anything that is not a known word is a failure with that text as its cause.
std::string CanonicalOutcome(const std::string& text);

// A FAILED outcome whose detail is only what the dialog knew takes the cause
// that was logged last instead, when there is one.
std::string OutcomeWithCause(const std::string& outcome, const std::string& lastCause);

// The exit code of a canonical outcome; an empty one is a run that ended
// before it decided anything: FAILED.
int ExitCodeOfOutcome(const std::string& outcome);

// What a restart refused by Windows turns "SUCCESS (restarting Windows)" into.
std::string OutcomeAfterRefusedRestart(const std::string& outcome);

}  // namespace stf
