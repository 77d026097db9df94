// Windows' libraries that are not KnownDLLs, loaded from the system
// directory by their full path: Windows looks for a library loaded by name
// in the program's folder first, where anyone who can write there (a
// download folder, a share) could have left one of the same name.
#include <map>
#include <string>

#include "platform/setup-toolkit/common/common_state.h"

namespace {

std::map<std::string, HMODULE> loaded;

// The library's own imports come from the system directory too: with the
// search flags where Windows has them, else from the folder of the path.
DWORD SearchFlags() {
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  const bool searchFlags =
      kernel != nullptr && GetProcAddress(kernel, "SetDefaultDllDirectories") != nullptr;
  return searchFlags ? LOAD_LIBRARY_SEARCH_SYSTEM32 : LOAD_WITH_ALTERED_SEARCH_PATH;
}

HMODULE Load(const std::string& name) {
  char path[MAX_PATH];
  const UINT length = GetSystemDirectoryA(path, MAX_PATH);
  if (length == 0 || length + 1 + name.size() >= MAX_PATH) {
    if (length != 0) SetLastError(ERROR_BUFFER_OVERFLOW);
    return nullptr;
  }
  std::string full = path;
  if (full.back() != '\\') full += '\\';
  full += name;
  return LoadLibraryExA(full.c_str(), nullptr, SearchFlags());
}

}  // namespace

extern "C" {

HMODULE STFAPI StfSystemLibrary(LPCSTR name) {
  std::string key = name ? name : "";
  for (char& c : key) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  auto found = loaded.find(key);
  if (found != loaded.end()) return found->second;
  HMODULE library = Load(key);
  if (library != nullptr) loaded[key] = library;
  return library;
}

FARPROC STFAPI StfSystemFunction(LPCSTR library, LPCSTR name) {
  HMODULE module = StfSystemLibrary(library);
  if (module == nullptr) {
    const DWORD error = GetLastError();
    StfLogFailure(nullptr, "LoadLibraryExA (system directory)", library, error);
    SetLastError(error);
    return nullptr;
  }
  FARPROC function = GetProcAddress(module, name);
  if (function == nullptr) {
    const DWORD error = GetLastError();
    StfLogFailure(nullptr, "GetProcAddress", (std::string(library) + "!" + name).c_str(), error);
    SetLastError(error);
  }
  return function;
}

}  // extern "C"
