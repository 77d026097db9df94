// Program Files of 32-bit programs, where the product's own folder goes.
#pragma once

#include <string>

#include "platform/win32.h"

// Ending in a backslash: the system's own record of it (Windows NT 4.0 has it
// too), else the folder on the drive of the system directory `systemDir`.
std::string ProgramFilesDir(LPCSTR systemDir);
