// The machine a driver image is built for, and the machine this Windows runs
// natively: a kernel driver loads only where the two are the same.
#pragma once

#include "platform/win32.h"

// The file could not be opened or read.
#define IMAGE_MACHINE_UNREADABLE 0xFFFF

// The machine named in a PE image's first bytes; IMAGE_FILE_MACHINE_UNKNOWN
// when they do not hold a PE header.
WORD ImageMachineOf(const BYTE* header, DWORD count);
// The same for a file, or IMAGE_MACHINE_UNREADABLE.
WORD ReadImageMachine(LPCSTR path);
// The machine of this Windows, by WOW64's answer; a system without WOW64
// runs this 32-bit x86 program natively.
WORD NativeMachine(void);
// How people call a machine's Windows: "32-bit (x86)", "64-bit (x64)", ...
LPCSTR MachineName(WORD machine);
