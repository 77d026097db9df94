#include "toolkit/log_lines.h"

#include "contract/toolkit_api.h"
#include "toolkit/unattended.h"

void LogText(const std::string& text) {
  FWriteToLogFile(text.c_str(), TRUE);
}

// The toolkit's own error record, which keeps the parts of the cause; false
// when the toolkit offers none.
static bool LoggedByToolkit(LPCSTR text, LPCSTR call, LPCSTR object, DWORD error) {
  typedef void(STFAPI * LogFailure)(LPCSTR, LPCSTR, LPCSTR, DWORD);
  LogFailure log = reinterpret_cast<LogFailure>(
      reinterpret_cast<void*>(CommonExport("StfLogFailure")));
  if (log == nullptr) return false;
  log(text, call, object, error);
  return true;
}

static void WriteErrorLine(const std::string& what, DWORD error) {
  char reason[256] = "";
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                nullptr, error, 0, reason, sizeof reason, nullptr);
  if (length >= sizeof reason) length = 0;
  while (length > 0 && (reason[length - 1] == '\r' || reason[length - 1] == '\n')) {
    reason[--length] = '\0';
  }
  std::string line = "Error: " + what + " (error " + std::to_string(error);
  LogText(line + (length > 0 ? ": " + std::string(reason, length) : std::string()) + ")");
}

void LogWin32Failure(const std::string& what, DWORD error) {
  if (!LoggedByToolkit(what.c_str(), "", "", error)) WriteErrorLine(what, error);
}

void LogFailedCall(const std::string& call, const std::string& object, DWORD error) {
  if (LoggedByToolkit(nullptr, call.c_str(), object.c_str(), error)) return;
  WriteErrorLine(object.empty() ? call : call + " " + object, error);
}
