// The one fatal path of the programs, as every layer above the platform sees
// it: each routine that meets a failure it must not return ends here. The
// toolkit layer of the programs (toolkit/setup_lifecycle.cpp) carries it out.
#pragma once

#include "platform/win32.h"

// Shows the error dialog (at most once per process), ends the setup, exits.
[[noreturn]] void FatalSetupError(void);
// The "Buffer Overflow" box, then the fatal path.
[[noreturn]] void FailWithBufferOverflow(void);
// A box with the stop icon that says what went wrong, then the fatal path.
[[noreturn]] void FailWithMessage(LPCSTR text);
