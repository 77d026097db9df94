// INI files (a bare file name is the Windows directory's, as the profile
// functions take it) and environment variables.
#include <string>
#include <vector>

#include "detect_util.h"

namespace {

// The profile functions cut a text that does not fit and report size - 1
// (size - 2 for lists): read again with a larger buffer until it fits.
constexpr DWORD kMaxProfileText = 1u << 20;

std::string ProfileText(LPCSTR section, LPCSTR key, LPCSTR file, bool isList) {
  std::vector<char> text(1024);
  for (;;) {
    DWORD size = static_cast<DWORD>(text.size());
    DWORD n = section != nullptr
                  ? GetPrivateProfileStringA(section, key, "", text.data(), size, file)
                  : GetPrivateProfileSectionNamesA(text.data(), size, file);
    DWORD cut = isList ? size - 2 : size - 1;
    if (n < cut || size >= kMaxProfileText) return std::string(text.data(), n);
    text.resize(text.size() * 4);
  }
}

// Does a list of zero-terminated names hold name (without regard to case)?
bool ListHolds(const std::string& list, LPCSTR name) {
  for (size_t at = 0; at < list.size(); at += lstrlenA(list.c_str() + at) + 1) {
    if (list[at] != '\0' && lstrcmpiA(list.c_str() + at, name) == 0) return true;
  }
  return false;
}

bool Named(LPCSTR text) { return text != nullptr && text[0] != '\0'; }

}  // namespace

extern "C" {

INT STFAPI CbGetIniKeyString(LPCSTR file, LPCSTR section, LPCSTR key, LPSTR buffer, INT size) {
  if (!Named(file) || !Named(section) || !Named(key)) return detect::CopyText("", buffer, size);
  return detect::CopyText(ProfileText(section, key, file, false), buffer, size);
}

BOOL STFAPI FDoesIniSectionExist(LPCSTR file, LPCSTR section) {
  if (!Named(file) || !Named(section)) return FALSE;
  return ListHolds(ProfileText(nullptr, nullptr, file, true), section);
}

// An empty value is a key that exists.
BOOL STFAPI FDoesIniKeyExist(LPCSTR file, LPCSTR section, LPCSTR key) {
  if (!Named(file) || !Named(section) || !Named(key)) return FALSE;
  return ListHolds(ProfileText(section, nullptr, file, true), key);
}

INT STFAPI CbGetEnvVariableValue(LPCSTR var, LPSTR buffer, INT size) {
  if (!Named(var)) return detect::CopyText("", buffer, size);
  std::string value;
  if (!detect::EnvironmentValue(var, &value)) value.clear();  // not set, or set empty
  return detect::CopyText(value, buffer, size);
}

}  // extern "C"
