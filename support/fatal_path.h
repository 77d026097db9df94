// The one fatal path of the programs, as every layer above the platform sees
// it: each routine that meets a failure it must not return ends here. The
// routines pass the failure on to the handlers the setup layer installs
// (toolkit/setup_lifecycle.cpp), so that no call points up a layer. A
// failure gets one window: the error dialog, or the box that names it.
#pragma once

#include "platform/win32.h"

// Shows the error dialog (at most once per process), ends the setup, exits.
[[noreturn]] void FatalSetupError(void);
// The "Buffer Overflow" box, then the fatal path without the error dialog.
[[noreturn]] void FailWithBufferOverflow(void);
// A box with the stop icon that says what went wrong, then the fatal path
// without the error dialog.
[[noreturn]] void FailWithMessage(LPCSTR text);
// A name or path longer than the limit setup can use: the box names it, the
// log also what it is (role: "the Windows directory"), then as above.
[[noreturn]] void FailWithTooLong(LPCSTR role, LPCSTR value, int limit);
// The program has shown its own refusal box: the fatal path without the
// error dialog.
[[noreturn]] void EndAfterRefusal(void);

// What the fatal path does; each handler ends the process.
struct FatalPathHandlers {
  void (*fatal)(void);
  void (*bufferOverflow)(void);
  void (*message)(LPCSTR text);
  void (*tooLong)(LPCSTR role, LPCSTR value, int limit);
  void (*refused)(void);
};
// Installed once, before the first call that can fail.
void InstallFatalPath(const FatalPathHandlers* handlers);
