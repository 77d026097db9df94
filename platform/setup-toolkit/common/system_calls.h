// The functions our libraries need from system libraries that are not
// KnownDLLs (VERSION.dll, ole32.dll): never imported, since Windows would
// look for such a library beside the program first; looked up in the system
// directory's copy instead (StfSystemFunction). Each behaves as the function
// it stands for, and fails with the loader's error when that is missing.
#pragma once

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
