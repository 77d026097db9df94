#include "toolkit/unattended.h"

#include "contract/toolkit_api.h"

FARPROC ToolkitExport(LPCSTR library, LPCSTR name) {
  HMODULE module = GetModuleHandleA(library);
  return module != nullptr ? GetProcAddress(module, name) : nullptr;
}

static FARPROC ShellExport(LPCSTR name) { return ToolkitExport("MSSHLSTF.dll", name); }

BOOL ToldWithoutBox(LPCSTR text) {
  typedef BOOL(STFAPI * Told)(LPCSTR);
  Told told = reinterpret_cast<Told>(reinterpret_cast<void*>(ShellExport("StfStartupFailure")));
  return told != nullptr && told(text);
}

void ReportStartupFailure(LPCSTR text) {
  if (!ToldWithoutBox(text)) MessageBoxA(nullptr, text, "Error", MB_OK | MB_ICONHAND);
}

bool DiskFileIntact(LPCSTR file) {
  typedef BOOL(STFAPI * Check)(LPCSTR);
  Check check = reinterpret_cast<Check>(
      reinterpret_cast<void*>(ToolkitExport("MSCOMSTF.dll", "StfCheckDiskFile")));
  return check == nullptr || check(file) != FALSE;
}
