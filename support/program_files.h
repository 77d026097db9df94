// Program Files of 32-bit programs, where the product's own folder goes.
#pragma once

#include "platform/win32.h"

// Into a buffer of SETUP_PATH_SIZE, ending in a backslash: the system's own
// record of it (Windows NT 4.0 has it too), else the folder on the drive of
// the system directory `systemDir`.
void ReadProgramFilesDir(LPSTR dir, LPCSTR systemDir);
