// The Windows and system directories as complete paths (drive included,
// ending in a backslash), and where the one lies relative to the other.
#pragma once

#include "platform/win32.h"

// size counts characters without the terminator; callers pass 255 for a
// 256-byte buffer, or less to keep room for what they append.
LPSTR GetWindowsDir(LPSTR buffer, INT size);
LPSTR GetSystemDir(LPSTR buffer, INT size);
// 0 when the system directory lies inside the Windows directory, else 1.
INT IsSystemDirOutsideWindowsDir(void);
