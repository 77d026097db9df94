// The driver service as the product installs it: one description that the
// registration, the uninstall entry and the uninstaller all read, and the
// forms of its image path that Windows accepts.
#pragma once

#include <string>

#include "platform/win32.h"

// The system directory below the Windows directory, and the drivers
// directory below it, as setup writes them.
#define SYSTEM32_SUBDIR "SYSTEM32\\"
#define DRIVERS_SUBDIR "DRIVERS\\"

struct DriverServiceDescription {
  LPCSTR name;
  LPCSTR displayName;  // null: Windows shows the name
  LPCSTR fileName;     // in SYSTEM32\DRIVERS
  LPCSTR imagePath;    // as registered, relative to the system root
  DWORD type;
  DWORD start;         // what the registration leaves it with
  DWORD errorControl;
  LPCSTR group;
  LPCSTR dependencies;  // an empty list, not a null pointer
};
extern const DriverServiceDescription DriverService;

// The drivers directory below systemDir ("...\SYSTEM32\"), ending in a
// backslash, and the driver file's full path in it. False when it does not
// fit size bytes.
bool DriversDirIn(LPCSTR systemDir, LPSTR dir, int size);
bool DriverFileIn(LPCSTR systemDir, LPSTR path, int size);
std::string DriversDirOf(LPCSTR systemDir);
std::string DriverFileOf(LPCSTR systemDir);
// The same directory as the file system spells it, where the system
// directory is this Windows' own: a name whose case differs from the stored
// one costs some systems a directory scan at every lookup, which the
// thousands of lookups of a large install and its removal add up.
std::string StoredDriversDir(LPCSTR systemDir);
// A path directly in the drivers directory with that directory as the file
// system spells it; any other path as given.
std::string StoredSpelling(const std::string& path, LPCSTR systemDir);

// Does an image path name the driver file? Windows takes it relative to the
// system root, in the \SystemRoot\ or %SystemRoot%\ form, as a full path or
// as an NT path (\??\C:\...).
bool NamesDriverFile(LPCSTR imagePath, LPCSTR systemDir);
