// The one fatal path of the programs, as every layer above the platform sees
// it: each routine that meets a failure it must not return ends here. The
// routines pass the failure on to the handlers the setup layer installs
// (toolkit/setup_lifecycle.cpp), so that no call points up a layer.
#pragma once

#include "platform/win32.h"

// Shows the error dialog (at most once per process), ends the setup, exits.
[[noreturn]] void FatalSetupError(void);
// The "Buffer Overflow" box, then the fatal path.
[[noreturn]] void FailWithBufferOverflow(void);
// A box with the stop icon that says what went wrong, then the fatal path.
[[noreturn]] void FailWithMessage(LPCSTR text);

// What the fatal path does; each handler ends the process.
struct FatalPathHandlers {
  void (*fatal)(void);
  void (*bufferOverflow)(void);
  void (*message)(LPCSTR text);
};
// Installed once, before the first call that can fail.
void InstallFatalPath(const FatalPathHandlers* handlers);
