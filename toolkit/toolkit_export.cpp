// An export of one of our libraries that the program has loaded already: the
// operations a program must be able to start without, looked up by name.
#include "toolkit/unattended.h"

FARPROC ToolkitExport(LPCSTR library, LPCSTR name) {
  HMODULE module = GetModuleHandleA(library);
  return module != nullptr ? GetProcAddress(module, name) : nullptr;
}

FARPROC CommonExport(LPCSTR name) { return ToolkitExport("MSCOMSTF.dll", name); }
