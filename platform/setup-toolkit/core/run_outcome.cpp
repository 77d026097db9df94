#include "run_outcome.h"

namespace stf {
namespace {

const char kNoDetail[] = "setup ended before it completed";

std::string InBrackets(const std::string& word, const std::string& detail) {
  return detail.empty() ? word : word + " (" + detail + ")";
}

}  // namespace

RunOutcome OutcomeFromValue(int value) {
  return value >= kOutcomeUndecided && value <= kOutcomeCannotStart ? static_cast<RunOutcome>(value)
                                                                    : kOutcomeUndecided;
}

bool EndsBeforeStart(RunOutcome outcome) {
  return outcome == kOutcomeBadCommandLine || outcome == kOutcomeAnotherSetup ||
         outcome == kOutcomeLogRefused || outcome == kOutcomeCannotStart;
}

bool IsDone(RunOutcome outcome) {
  return outcome == kOutcomeSucceeded || outcome == kOutcomeRestartPending ||
         outcome == kOutcomeRestarting;
}

int ExitCodeOf(RunOutcome outcome) {
  switch (outcome) {
    case kOutcomeSucceeded: return kExitSuccess;
    case kOutcomeRestartPending: return kExitRestartPending;
    case kOutcomeRestarting: return kExitRestarting;
    case kOutcomeCancelled: return kExitCancelled;
    case kOutcomeNotInstalled: return kExitNotInstalled;
    case kOutcomeBadCommandLine: return kExitBadCommandLine;
    case kOutcomeAnotherSetup: return kExitAnotherRunning;
    case kOutcomeLogRefused: return kExitLogUnwritable;
    default: return kExitFailed;
  }
}

std::string OutcomeLine(RunOutcome outcome, const std::string& detail, const std::string& cause) {
  switch (outcome) {
    case kOutcomeSucceeded: return "SUCCESS";
    case kOutcomeRestartPending: return "SUCCESS (restart pending)";
    case kOutcomeRestarting: return "SUCCESS (restarting Windows)";
    case kOutcomeCancelled: return "CANCELLED";
    case kOutcomeNotInstalled: return InBrackets("NOT INSTALLED", detail);
    default: break;
  }
  const std::string what = detail.empty() ? kNoDetail : detail;
  if (EndsBeforeStart(outcome) || cause.empty()) return InBrackets("FAILED", what);
  return InBrackets("FAILED", what + ": " + cause);
}

RunOutcome AfterRefusedRestart(RunOutcome outcome) {
  return outcome == kOutcomeRestarting ? kOutcomeRestartPending : outcome;
}

}  // namespace stf
