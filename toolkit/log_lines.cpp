#include "toolkit/log_lines.h"

#include "contract/toolkit_api.h"

void LogText(LPCSTR text) {
  FWriteToLogFile(text, TRUE);
}

void LogWin32Failure(LPCSTR what, DWORD error) {
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
