// Choosing where a shared file is to live: a registry value, a "WIN.INI"
// entry, then a default path, each copy vetted against the required version.
#pragma once

#include "platform/win32.h"

// After a path was answered: 1 when the file is still to be copied there.
extern INT SharedFileUpdateNeeded;

LPSTR PickSharedFileLocation(LPCSTR regKey, LPCSTR iniSection, LPCSTR iniKey, INT field,
                             LPCSTR defaultPath, LPCSTR requiredVersion, LPSTR output,
                             INT capacity);
// The candidate (or, when it is missing, its name found on the search path)
// unless its copy is older than required and cannot be written; else null.
LPSTR VetSharedFileCandidate(LPCSTR candidate, LPCSTR requiredVersion, LPSTR output,
                             INT capacity);
// The file in the Windows directory, the system directory or along PATH;
// the empty string when it is nowhere, or its path does not fit the output.
LPSTR LocateInWindowsSearchPath(LPCSTR fileName, LPSTR output, INT capacity);
// 1 when a is newer, -1 when older, 0 when the first four fields are equal.
INT CompareVersionStrings(LPCSTR a, LPCSTR b);
INT QuerySharedFileUpdateNeeded(void);
