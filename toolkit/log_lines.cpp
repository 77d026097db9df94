#include "toolkit/log_lines.h"

#include "contract/toolkit_api.h"
#include "toolkit/unattended.h"

void LogText(LPCSTR text) {
  FWriteToLogFile(text, TRUE);
}

// The toolkit's own error record, which keeps the parts of the cause; false
// when the toolkit offers none.
static bool LoggedByToolkit(LPCSTR text, LPCSTR call, LPCSTR object, DWORD error) {
  typedef void(STFAPI * LogFailure)(LPCSTR, LPCSTR, LPCSTR, DWORD);
  LogFailure log = reinterpret_cast<LogFailure>(
      reinterpret_cast<void*>(ToolkitExport("MSCOMSTF.dll", "StfLogFailure")));
  if (log == nullptr) return false;
  log(text, call, object, error);
  return true;
}

static void WriteErrorLine(LPCSTR what, DWORD error) {
  char reason[256] = "";
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                nullptr, error, 0, reason, sizeof reason, nullptr);
  while (length > 0 && (reason[length - 1] == '\r' || reason[length - 1] == '\n')) {
    reason[--length] = '\0';
  }
  char line[1024];  // what wsprintfA writes at most
  wsprintfA(line, length > 0 ? "Error: %.700s (error %lu: %.250s)" : "Error: %.700s (error %lu)",
            what, static_cast<unsigned long>(error), reason);
  LogText(line);
}

void LogWin32Failure(LPCSTR what, DWORD error) {
  if (!LoggedByToolkit(what, "", "", error)) WriteErrorLine(what, error);
}

void LogFailedCall(LPCSTR call, LPCSTR object, DWORD error) {
  if (LoggedByToolkit(nullptr, call, object, error)) return;
  char what[720];
  wsprintfA(what, object[0] ? "%.200s %.500s" : "%.200s", call, object);
  WriteErrorLine(what, error);
}
