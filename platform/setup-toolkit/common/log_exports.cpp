// The setup log: one per process, flushed line by line. Every record passes
// through here, with or without a log file, so that the cause of a failure is
// known for the outcome line and errors reach standard error as well.
#include "platform/setup-toolkit/common/common_state.h"
#include "run_outcome.h"
#include "setup_log.h"

namespace {

// Consecutive error records tell of one failure; the first of them names its
// cause (the call and its code), the later ones what it led to.
bool lastRecordWasError = false;

void WriteStdErr(const std::string& line) {
  HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
  if (err == nullptr || err == INVALID_HANDLE_VALUE) return;
  const std::string text = stf::OneLine(line) + "\r\n";
  DWORD written;
  WriteFile(err, text.c_str(), static_cast<DWORD>(text.size()), &written, nullptr);
}

bool IsErrorRecord(const std::string& text) { return text.rfind("Error: ", 0) == 0; }

}  // namespace

bool LogRecord(const std::string& text) {
  const bool error = IsErrorRecord(text);
  if (error) {
    if (!lastRecordWasError) Symbols().Set(STF_SYM_CAUSE, stf::OneLine(text.substr(7)));
    WriteStdErr(text);
  }
  lastRecordWasError = error;
  return stf::ProcessSetupLog().Write(text);
}

extern "C" {

BOOL STFAPI FOpenLogFile(LPCSTR file, BOOL append) {
  std::string error;
  if (file == nullptr || !stf::ProcessSetupLog().Open(file, append != FALSE, &error)) {
    ReportProblem("The setup log " + std::string(file ? file : "") + " cannot be opened: " +
                  error);
    return FALSE;
  }
  Symbols().Set(STF_SYM_LOGFILE, file);
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
  char system[512];
  LogRecord(stf::ErrorRecord(text ? text : "", code, StfErrorText(code, system, sizeof system)));
}

void STFAPI StfLogCopied(LPCSTR src, LPCSTR dst, DWORD bytes) {
  LogRecord("Copied: " + std::string(src ? src : "") + " -> " + (dst ? dst : "") + " (" +
            std::to_string(bytes) + " bytes)");
}

void STFAPI StfLogOutcome(LPCSTR outcome) {
  const std::string line = stf::CanonicalOutcome(outcome ? outcome : "");
  WriteStdErr("Outcome: " + line);
  lastRecordWasError = false;
  stf::ProcessSetupLog().WriteOutcomeText(line);
}

}  // extern "C"
