// The process entry of setup.exe and uninstall.exe (the link's --entry): the C
// run-time is bound before its own start-up runs.
#include "platform/crt_binding/crt_binding.h"

extern "C" int WinMainCRTStartup(void);

extern "C" int CrtBoundProgramStart(void) {
  CrtBindOrExit();
  return WinMainCRTStartup();
}
