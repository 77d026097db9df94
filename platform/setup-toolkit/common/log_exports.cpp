// The setup log: one per process, flushed line by line. Every record passes
// through here, with or without a log file, so that the cause of a failure is
// known for the outcome line and errors reach standard error as well.
#include "platform/setup-toolkit/common/common_state.h"
#include "dbcs_path.h"
#include "failure_words.h"
#include "run_outcome.h"
#include "setup_log.h"

namespace {

// Consecutive error records tell of one failure; the first of them names its
// cause (the call and its code), the later ones what it led to.
bool lastRecordWasError = false;

bool IsErrorRecord(const std::string& text) { return text.rfind("Error: ", 0) == 0; }

void KeepCause(const std::string& record, const stf::FailureCause& cause) {
  Symbols().Set(STF_SYM_CAUSE, stf::OneLine(record));
  Symbols().Set(STF_SYM_CAUSE_TEXT, cause.text);
  Symbols().Set(STF_SYM_CAUSE_OPERATION, cause.operation);
  Symbols().Set(STF_SYM_CAUSE_FILE, cause.file);
  Symbols().Set(STF_SYM_CAUSE_CODE, cause.code != 0 ? std::to_string(cause.code) : "");
}

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
  if (!lastRecordWasError) KeepCause(line.substr(7), cause);
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

BOOL STFAPI FOpenLogFile(LPCSTR file, BOOL append) {
  std::string error;
  // The C library calls a folder "Permission denied"; say what it is.
  const DWORD attributes = file != nullptr ? GetFileAttributesA(file) : INVALID_FILE_ATTRIBUTES;
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    ReportProblem("The setup log " + std::string(file) + " cannot be opened: it is a folder; name "
                  "a file in it, for example " + stf::JoinPath(file, "setup.log", StfIsLeadByte));
    return FALSE;
  }
  if (file == nullptr || !stf::ProcessSetupLog().Open(file, append != FALSE, &error)) {
    ReportProblem("The setup log " + std::string(file ? file : "") + " cannot be opened: " +
                  error);
    return FALSE;
  }
  // The full path: the error dialogs tell the person where to look.
  char full[MAX_PATH];
  LPSTR name = nullptr;
  const DWORD length = GetFullPathNameA(file, sizeof full, full, &name);
  Symbols().Set(STF_SYM_LOGFILE, length > 0 && length < sizeof full ? full : file);
  return TRUE;
}

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

void STFAPI StfLogOutcome(LPCSTR outcome) {
  const std::string line = stf::CanonicalOutcome(outcome ? outcome : "");
  StfWriteStdErr(stf::OneLine("Outcome: " + line));
  lastRecordWasError = false;
  stf::ProcessSetupLog().WriteOutcomeText(line);
}

}  // extern "C"
