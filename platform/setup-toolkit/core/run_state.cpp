#include "run_state.h"

#include "setup_log.h"

namespace stf {

void DecideOutcome(RunState* state, RunOutcome outcome, const std::string& detail) {
  if (state->lineWritten || EndsBeforeStart(state->outcome)) return;
  state->outcome = outcome;
  state->detail = detail;
}

bool RefuseRestart(RunState* state) {
  const RunOutcome after = AfterRefusedRestart(state->outcome);
  if (after == state->outcome) return false;
  state->outcome = after;
  return true;
}

void KeepCause(RunState* state, const std::string& record, const FailureCause& cause) {
  state->causeRecord = OneLine(record);
  state->cause = cause;
}

std::string WindowTitle(const RunState& state) {
  return state.title.empty() ? "Setup" : state.title;
}

std::string ErrorCaption(const RunState& state) { return WindowTitle(state) + " Error"; }

const char* QuietSymbolText(const RunState& state) { return Unattended(state) ? "1" : ""; }

const char* RestartSymbolText(const RunState& state) {
  return state.restart == SetupOptions::kRestartForce   ? "FORCE"
         : state.restart == SetupOptions::kRestartNever ? "NO"
                                                        : "";
}

std::string OutcomeLineOf(const RunState& state) {
  return OutcomeLine(state.outcome, state.detail, state.causeRecord);
}

}  // namespace stf
