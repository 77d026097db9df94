// The setup log: one per process, flushed line by line.
#include "platform/setup-toolkit/common/common_state.h"
#include "setup_log.h"

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
  return text != nullptr && stf::ProcessSetupLog().Write(text);
}

void STFAPI StfLogError(LPCSTR text, DWORD code) {
  char system[512];
  stf::ProcessSetupLog().WriteError(text ? text : "", code, StfErrorText(code, system, sizeof system));
}

void STFAPI StfLogCopied(LPCSTR src, LPCSTR dst, DWORD bytes) {
  stf::ProcessSetupLog().WriteFileCopied(src ? src : "", dst ? dst : "", bytes);
}

void STFAPI StfLogOutcome(LPCSTR outcome) {
  std::string text = outcome ? outcome : "";
  stf::SetupOutcome kind = stf::SetupOutcome::kFailed;
  std::string detail;
  auto startsWith = [&](const char* word) { return text.rfind(word, 0) == 0; };
  if (startsWith("SUCCESS")) kind = stf::SetupOutcome::kSuccess;
  if (startsWith("CANCELLED")) kind = stf::SetupOutcome::kCancelled;
  // "WORD, detail" or "WORD (detail)": the log gives "Outcome: WORD (detail)".
  size_t cut = text.find_first_of(" ,(");
  if (cut != std::string::npos) {
    size_t from = text.find_first_not_of(" ,(", cut);
    if (from != std::string::npos) detail = text.substr(from);
    if (!detail.empty() && detail.back() == ')') detail.pop_back();
  }
  stf::ProcessSetupLog().WriteOutcome(kind, detail);
}

}  // extern "C"
