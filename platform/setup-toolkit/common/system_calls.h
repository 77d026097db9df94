// The functions our libraries need from system libraries that are not
// KnownDLLs (VERSION.dll, ole32.dll): never imported, since Windows would
// look for such a library beside the program first; looked up in the system
// directory's copy instead (StfSystemFunction). SHELL32.dll likewise, though
// a KnownDLL: importing it loads a dozen more libraries at every start, for
// program groups and shell folders that most runs never ask for. Each behaves
// as the function it stands for, and fails with the loader's error when that
// is missing.
#pragma once

#include <shlobj.h>

#include "platform/setup-toolkit/stf_internal.h"

template <typename Function>
Function SystemFunction(LPCSTR library, LPCSTR name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(StfSystemFunction(library, name)));
}

inline DWORD SysGetFileVersionInfoSizeA(LPCSTR file, LPDWORD handle) {
  auto f = SystemFunction<DWORD(WINAPI*)(LPCSTR, LPDWORD)>("version.dll", "GetFileVersionInfoSizeA");
  return f != nullptr ? f(file, handle) : 0;
}

inline BOOL SysGetFileVersionInfoA(LPCSTR file, DWORD handle, DWORD size, LPVOID data) {
  auto f = SystemFunction<BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID)>("version.dll",
                                                                      "GetFileVersionInfoA");
  return f != nullptr ? f(file, handle, size, data) : FALSE;
}

inline BOOL SysVerQueryValueA(LPCVOID block, LPCSTR subBlock, LPVOID* buffer, PUINT length) {
  auto f = SystemFunction<BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT)>("version.dll",
                                                                         "VerQueryValueA");
  return f != nullptr ? f(block, subBlock, buffer, length) : FALSE;
}

// E_FAIL-like answers when ole32.dll is missing: the loader's error as an HRESULT.
inline HRESULT SysCoInitializeEx(LPVOID reserved, DWORD model) {
  auto f = SystemFunction<HRESULT(WINAPI*)(LPVOID, DWORD)>("ole32.dll", "CoInitializeEx");
  return f != nullptr ? f(reserved, model) : HRESULT_FROM_WIN32(GetLastError());
}

inline void SysCoUninitialize() {
  auto f = SystemFunction<void(WINAPI*)()>("ole32.dll", "CoUninitialize");
  if (f != nullptr) f();
}

inline HRESULT SysCoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid,
                                   LPVOID* object) {
  auto f = SystemFunction<HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*)>(
      "ole32.dll", "CoCreateInstance");
  return f != nullptr ? f(clsid, outer, context, iid, object) : HRESULT_FROM_WIN32(GetLastError());
}

// A shell folder's path (MAX_PATH bytes) by item list: SHGetSpecialFolderPathA
// is newer than the shell of Windows NT 4.0.
inline bool SysShellFolderPath(int csidl, char* path) {
  auto location = SystemFunction<HRESULT(WINAPI*)(HWND, int, LPITEMIDLIST*)>(
      "shell32.dll", "SHGetSpecialFolderLocation");
  auto toPath = SystemFunction<BOOL(WINAPI*)(LPCITEMIDLIST, LPSTR)>("shell32.dll",
                                                                   "SHGetPathFromIDListA");
  auto shellMemory = SystemFunction<HRESULT(WINAPI*)(IMalloc**)>("shell32.dll", "SHGetMalloc");
  if (location == nullptr || toPath == nullptr || shellMemory == nullptr) return false;
  LPITEMIDLIST items = nullptr;
  if (FAILED(location(nullptr, csidl, &items)) || items == nullptr) return false;
  const BOOL found = toPath(items, path);
  IMalloc* memory = nullptr;
  if (SUCCEEDED(shellMemory(&memory))) {
    memory->Free(items);
    memory->Release();
  }
  return found != FALSE;
}

inline void SysSHChangeNotify(LONG event, UINT flags, LPCVOID item1, LPCVOID item2) {
  auto f = SystemFunction<void(WINAPI*)(LONG, UINT, LPCVOID, LPCVOID)>("shell32.dll",
                                                                      "SHChangeNotify");
  if (f != nullptr) f(event, flags, item1, item2);
}

// Null, as ShellExecuteA's own failures, when SHELL32.dll cannot be loaded.
inline HINSTANCE SysShellExecuteA(HWND window, LPCSTR verb, LPCSTR file, LPCSTR parameters,
                                  LPCSTR directory, INT show) {
  auto f = SystemFunction<HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT)>(
      "shell32.dll", "ShellExecuteA");
  return f != nullptr ? f(window, verb, file, parameters, directory, show) : nullptr;
}
