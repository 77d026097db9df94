// The shared applications directory and its standard subdirectories, kept in
// section "MSAPPS" of "WIN.INI", and the search for where a shared file of an
// application belongs.
#pragma once

#include "platform/win32.h"

// Where the shared directories and the shared files' places are kept.
#define SHARED_INI_FILE "WIN.INI"

extern INT SharedDirsSetUpPending;  // 1 until the first PrepareSharedAppDirs

// 1 on success or when already run (even after a failed run), 0 on failure.
INT PrepareSharedAppDirs(void);
// Records dir + key under key unless a valid entry exists; non-zero on success.
INT EnsureSharedSubdirEntry(LPCSTR key, LPCSTR dir);
// The chosen path of the file that INF line (section, key) names for the
// application key, or null; see PickSharedFileLocation for the candidates.
LPSTR FindSharedAppFile(LPCSTR infSection, LPCSTR infKey, LPCSTR appKey, LPCSTR regKey,
                        LPCSTR iniSection, LPCSTR iniKey, INT field, LPSTR output,
                        INT capacity);
