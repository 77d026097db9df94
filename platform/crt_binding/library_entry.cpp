// The entry of the toolkit libraries and the dialog library (the link's
// --entry): the C run-time is bound before its own start-up runs, which
// calls the library's constructors and DllMain.
#include "platform/crt_binding/crt_binding.h"

extern "C" BOOL WINAPI DllMainCRTStartup(HANDLE instance, DWORD reason, LPVOID reserved);

extern "C" BOOL WINAPI CrtBoundLibraryStart(HANDLE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) CrtBindOrExit();
  return DllMainCRTStartup(instance, reason, reserved);
}
