// The setup log: one per process, flushed line by line. Every record passes
// through here, with or without a log file, so that the cause of a failure is
// known for the outcome line and errors reach standard error as well.
#include "platform/setup-toolkit/common/common_state.h"
#include "failure_words.h"
#include "setup_log.h"

namespace {

// Consecutive error records tell of one failure; the first of them names its
// cause (the call and its code), the later ones what it led to.
bool lastRecordWasError = false;

bool IsErrorRecord(const std::string& text) { return text.rfind("Error: ", 0) == 0; }

stf::FailureCause CauseOf(const std::string& text, const std::string& operation,
                          const std::string& file, DWORD code) {
  char system[512];
  stf::FailureCause cause;
  cause.operation = operation;
  cause.file = file;
  cause.text = text;
  cause.code = code;
  cause.codeText = StfErrorText(code, system, sizeof system);
  return cause;
}

}  // namespace

bool LogFailure(const std::string& line, const stf::FailureCause& cause) {
  if (!lastRecordWasError) KeepFailureCause(line.substr(7), cause);
  StfWriteStdErr(stf::OneLine(line));
  lastRecordWasError = true;
  return stf::ProcessSetupLog().Write(line);
}

bool LogRecord(const std::string& text) {
  if (IsErrorRecord(text)) {
    stf::FailureCause cause;
    cause.text = text.substr(7);
    return LogFailure(text, cause);
  }
  lastRecordWasError = false;
  return stf::ProcessSetupLog().Write(text);
}

extern "C" {

BOOL STFAPI FCloseLogFile(void) {
  if (!stf::ProcessSetupLog().IsOpen()) return FALSE;
  stf::ProcessSetupLog().Close();
  return TRUE;
}

BOOL STFAPI FWriteToLogFile(LPCSTR text, BOOL) {
  return text != nullptr && LogRecord(text);
}

void STFAPI StfLogError(LPCSTR text, DWORD code) {
  StfLogFailure(text ? text : "", "", "", code);
}

void STFAPI StfLogFailure(LPCSTR text, LPCSTR operation, LPCSTR file, DWORD code) {
  const std::string op = operation ? operation : "";
  const std::string object = file ? file : "";
  const std::string what = text ? text : object.empty() ? op : op + " " + object;
  const stf::FailureCause cause = CauseOf(what, op, object, code);
  LogFailure(stf::ErrorRecord(what, code, cause.codeText), cause);
}

void STFAPI StfLogCopied(LPCSTR src, LPCSTR dst, DWORD bytes) {
  LogRecord("Copied: " + std::string(src ? src : "") + " -> " + (dst ? dst : "") + " (" +
            std::to_string(bytes) + " bytes)");
}

void STFAPI StfLogOutcome(void) {
  const std::string line = stf::OutcomeLineOf(ProcessRunState());
  StfWriteStdErr(stf::OneLine("Outcome: " + line));
  lastRecordWasError = false;
  MarkOutcomeWritten();
  stf::ProcessSetupLog().WriteOutcomeText(line);
}

}  // extern "C"
