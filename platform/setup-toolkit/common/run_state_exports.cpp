// The run's state: one of the process, written and read through the exports
// below. The symbols that scripts read are written from it at each change;
// nothing here reads them back.
#include "platform/setup-toolkit/common/common_state.h"

#include <cstring>

#include "platform/internal_failure.h"
#include "run_state.h"

namespace {

stf::RunState state;
// Where StfTitle and StfErrorCaption point: stable until the title changes.
char title[256] = "Setup";
char errorCaption[sizeof title + 8] = "Setup Error";

void CopyInto(char* buffer, std::size_t size, const std::string& text) {
  lstrcpynA(buffer, text.c_str(), static_cast<int>(size));
}

void WriteOutcomeSymbol() {
  if (state.outcome == stf::kOutcomeUndecided) return;
  Symbols().Set(STF_SYM_OUTCOME, stf::OutcomeLineOf(state));
}

std::string Number(unsigned long value) { return value != 0 ? std::to_string(value) : ""; }

}  // namespace

stf::RunState& ProcessRunState() { return state; }

void KeepFailureCause(const std::string& record, const stf::FailureCause& cause) {
  stf::KeepCause(&state, record, cause);
  Symbols().Set(STF_SYM_CAUSE, state.causeRecord);
  Symbols().Set(STF_SYM_CAUSE_TEXT, cause.text);
  Symbols().Set(STF_SYM_CAUSE_OPERATION, cause.operation);
  Symbols().Set(STF_SYM_CAUSE_FILE, cause.file);
  Symbols().Set(STF_SYM_CAUSE_CODE, Number(cause.code));
  Symbols().Set(STF_SYM_CAUSE_TEXT_ID, Number(cause.textId));
  const char* inserts[] = {STF_SYM_CAUSE_INSERT_1, STF_SYM_CAUSE_INSERT_2, STF_SYM_CAUSE_INSERT_3};
  for (int i = 0; i < 3; ++i) Symbols().Set(inserts[i], cause.textInserts[i]);
  WriteOutcomeSymbol();
}

void MarkOutcomeWritten() { state.lineWritten = true; }

extern "C" {

void STFAPI StfSetRunSwitches(BOOL quiet, BOOL passive, INT restart) {
  state.quiet = quiet != FALSE;
  state.passive = passive != FALSE && !state.quiet;
  state.restart = restart == stf::SetupOptions::kRestartForce   ? stf::SetupOptions::kRestartForce
                  : restart == stf::SetupOptions::kRestartNever ? stf::SetupOptions::kRestartNever
                                                                : stf::SetupOptions::kRestartDefault;
  Symbols().Set(STF_SYM_QUIET, stf::QuietSymbolText(state));
  Symbols().Set(STF_SYM_RESTART, stf::RestartSymbolText(state));
}

BOOL STFAPI StfQuiet(void) { return stf::Unattended(state) ? TRUE : FALSE; }

BOOL STFAPI StfWindowless(void) { return state.quiet ? TRUE : FALSE; }

INT STFAPI StfRestartChoice(void) { return state.restart; }

void STFAPI StfSetTitle(LPCSTR text) {
  state.title = text ? text : "";
  CopyInto(title, sizeof title, stf::WindowTitle(state));
  CopyInto(errorCaption, sizeof errorCaption, std::string(title) + " Error");
  Symbols().Set(STF_SYM_TITLE, state.title);
}

LPCSTR STFAPI StfTitle(void) { return title; }

LPCSTR STFAPI StfErrorCaption(void) { return errorCaption; }

void STFAPI StfSetOutcome(INT outcome, LPCSTR detail) {
  stf::DecideOutcome(&state, stf::OutcomeFromValue(outcome), detail ? detail : "");
  WriteOutcomeSymbol();
}

INT STFAPI StfOutcome(void) { return state.outcome; }

BOOL STFAPI StfRefuseRestart(void) {
  if (!stf::RefuseRestart(&state)) return FALSE;
  WriteOutcomeSymbol();
  return TRUE;
}

INT STFAPI StfGetOutcomeLine(LPSTR line, INT size) {
  return CopyOut(stf::OutcomeLineOf(state), line, size);
}

INT STFAPI StfGetCausePart(INT part, LPSTR value, INT size) {
  const stf::FailureCause& cause = state.cause;
  switch (part) {
    case STF_CAUSE_TEXT: return CopyOut(cause.text, value, size);
    case STF_CAUSE_OPERATION: return CopyOut(cause.operation, value, size);
    case STF_CAUSE_FILE: return CopyOut(cause.file, value, size);
    case STF_CAUSE_INSERT_1: return CopyOut(cause.textInserts[0], value, size);
    case STF_CAUSE_INSERT_2: return CopyOut(cause.textInserts[1], value, size);
    case STF_CAUSE_INSERT_3: return CopyOut(cause.textInserts[2], value, size);
    case STF_CAUSE_RECORD: return CopyOut(state.causeRecord, value, size);
    default: return CopyOut("", value, size);
  }
}

DWORD STFAPI StfCauseCode(void) { return state.cause.code; }

UINT STFAPI StfCauseTextId(void) { return state.cause.textId; }

void STFAPI StfInternalFailure(LPCSTR what, DWORD code) { InternalFailure(what, code); }

void STFAPI StfSetInternalFailureHandler(LPVOID handler) {
  SetInternalFailureHandler(reinterpret_cast<InternalFailureHandler>(handler));
}

}  // extern "C"
