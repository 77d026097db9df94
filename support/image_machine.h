// The machine this Windows runs natively: a kernel driver loads only where it
// is the machine its image is built for (which the toolkit reads:
// StfReadImageKind, a compressed driver expanded first).
#pragma once

#include "platform/win32.h"

// The machine of this Windows, by WOW64's answer; a system without WOW64
// runs this 32-bit x86 program natively.
WORD NativeMachine(void);
// How people call a machine's Windows: "32-bit (x86)", "64-bit (x64)", ...;
// any other machine by its number ("0x01C4"), which reads the same in every
// language. The name is written into the caller's buffer.
LPCSTR MachineName(WORD machine, char (&name)[16]);
