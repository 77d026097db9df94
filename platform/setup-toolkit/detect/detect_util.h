// Helpers that the detection library's files share.
#pragma once

#include <string>
#include <vector>

#include "dbcs_path.h"
#include "platform/setup-toolkit/stf_internal.h"

namespace detect {

// Copies text into a caller's buffer only when it fits with its terminator;
// the result is the text's length either way, as every Cb query answers.
inline INT CopyText(const std::string& text, LPSTR buffer, INT size) {
  INT length = static_cast<INT>(text.size());
  if (buffer != nullptr && size > 0 && length < size) lstrcpynA(buffer, text.c_str(), size);
  return length;
}

// "FUNCTION(subject): what" with the Win32 code, into the setup log.
inline void LogFailure(const char* function, const char* subject, const char* what, DWORD code) {
  std::string text = std::string(function) + "(" + (subject ? subject : "<null>") + "): " + what;
  StfLogError(text.c_str(), code);
}

// The variable's value in the ANSI code page; false when it is not set (or
// set empty). Read in UTF-16 and converted here: Wine's GetEnvironmentVariableA
// cuts a value with double-byte characters to its character count.
inline bool EnvironmentValue(LPCSTR var, std::string* value) {
  int nameLength = MultiByteToWideChar(CP_ACP, 0, var, -1, nullptr, 0);
  if (nameLength <= 0) return false;
  std::vector<wchar_t> name(nameLength);
  MultiByteToWideChar(CP_ACP, 0, var, -1, name.data(), nameLength);
  DWORD needed = GetEnvironmentVariableW(name.data(), nullptr, 0);
  if (needed == 0) return false;
  std::vector<wchar_t> wide(needed + 1);
  DWORD n = GetEnvironmentVariableW(name.data(), wide.data(), static_cast<DWORD>(wide.size()));
  if (n == 0 || n >= wide.size()) return false;
  int bytes = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(n), nullptr, 0, nullptr,
                                  nullptr);
  if (bytes <= 0) return false;
  value->assign(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(n), &(*value)[0], bytes, nullptr,
                      nullptr);
  return true;
}

}  // namespace detect
