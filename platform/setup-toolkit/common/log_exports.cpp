// The setup log: one per process, flushed line by line. Every record passes
// through here, with or without a log file, so that the cause of a failure is
// known for the outcome line and errors reach standard error as well.
#include "platform/setup-toolkit/common/common_state.h"
#include "platform/setup-toolkit/common/log_file.h"
#include "dbcs_path.h"
#include "failure_words.h"
#include "log_file_rules.h"
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

// The full path: the error dialogs and standard error tell the person where to look.
void SetLogSymbol(const std::string& file) {
  char full[MAX_PATH];
  LPSTR name = nullptr;
  const DWORD length = GetFullPathNameA(file.c_str(), sizeof full, full, &name);
  Symbols().Set(STF_SYM_LOGFILE, length > 0 && length < sizeof full ? full : file);
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

BOOL STFAPI FOpenLogFile(LPCSTR file, BOOL append) {
  // Say what a folder is, rather than a bare "Access is denied".
  const DWORD attributes = file != nullptr ? GetFileAttributesA(file) : INVALID_FILE_ATTRIBUTES;
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    ReportProblem("The setup log " + std::string(file) + " cannot be opened: it is a folder; name "
                  "a file in it, for example " + stf::JoinPath(file, "setup.log", StfIsLeadByte));
    return FALSE;
  }
  const std::string path = file ? file : "";
  std::string why;
  DWORD error = 0;
  HANDLE handle = path.empty() ? INVALID_HANDLE_VALUE
                               : OpenCheckedFile(path, OPEN_ALWAYS, &why, &error);
  if (handle == INVALID_HANDLE_VALUE || !AttachLog(handle, append != FALSE)) {
    char system[512];
    if (why.empty()) error = error != 0 ? error : GetLastError();
    ReportProblem("The setup log " + path + " cannot be opened: " +
                  (why.empty() ? std::string(StfErrorText(error, system, sizeof system))
                               : "it " + why + "."));
    return FALSE;
  }
  SetLogSymbol(path);
  return TRUE;
}

BOOL STFAPI FOpenRunLog(LPCSTR program) {
  char dir[MAX_PATH + 1];
  const DWORD length = GetTempPathA(sizeof dir, dir);
  if (length == 0 || length >= sizeof dir) {
    StfWriteStdErr("No log is written: the temporary folder cannot be found (GetTempPathA).");
    return FALSE;
  }
  SYSTEMTIME now;
  GetLocalTime(&now);
  const stf::LocalTime time = {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
  std::string path, why;
  DWORD error = 0;
  // Never a name that is there already: whatever lies there may be a trap.
  for (int attempt = 1; attempt <= 100; ++attempt) {
    path = dir + stf::RunLogName(program ? program : "Setup", time, attempt, StfIsLeadByte);
    HANDLE handle = OpenCheckedFile(path, CREATE_NEW, &why, &error);
    if (handle != INVALID_HANDLE_VALUE) {
      AttachLog(handle, true);
      SetLogSymbol(path);
      return TRUE;
    }
    if (why.empty() && error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
  }
  char system[512];
  StfWriteStdErr("No log is written: " + path + " cannot be created: " +
                 (why.empty() ? std::string(StfErrorText(error, system, sizeof system)) : why));
  return FALSE;
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

void STFAPI StfLogOutcome(void) {
  const std::string line = stf::OutcomeLineOf(ProcessRunState());
  StfWriteStdErr(stf::OneLine("Outcome: " + line));
  lastRecordWasError = false;
  MarkOutcomeWritten();
  stf::ProcessSetupLog().WriteOutcomeText(line);
}

}  // extern "C"
