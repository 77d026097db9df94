#include "support/dir_queries.h"

#include "support/fatal_path.h"
#include "support/path_join.h"
#include "support/setup_paths.h"

typedef UINT(WINAPI* DirectoryQuery)(LPSTR buffer, UINT size);

static LPSTR CompleteDirectory(DirectoryQuery query, LPSTR buffer, INT size) {
  char dir[256] = {0};
  UINT got = query(dir, 255);
  if (got == 0) FatalSetupError();
  if (got > 255) FailWithBufferOverflow();
  dir[255] = '\0';

  // A path without a drive takes it, and perhaps the root, from the start directory.
  INT wanted;
  if (dir[0] == '\\') {
    wanted = 2;
  } else if (dir[1] == ':') {
    wanted = 0;
  } else {
    wanted = 3;
  }
  if (size < wanted) FailWithBufferOverflow();
  INT prefix = 0;
  while (prefix < wanted && SetupPaths.StartDir[prefix] != '\0') ++prefix;

  INT length = lstrlenA(dir);
  if (length > size - prefix) FailWithBufferOverflow();
  for (INT i = 0; i < prefix; ++i) buffer[i] = SetupPaths.StartDir[i];
  lstrcpyA(buffer + prefix, dir);

  if (!EndsInBackslash(buffer)) {
    INT end = prefix + length;
    if (end + 1 > size) FailWithBufferOverflow();
    buffer[end] = '\\';
    buffer[end + 1] = '\0';
  }
  return buffer;
}

LPSTR GetWindowsDir(LPSTR buffer, INT size) {
  return CompleteDirectory(GetWindowsDirectoryA, buffer, size);
}

LPSTR GetSystemDir(LPSTR buffer, INT size) {
  return CompleteDirectory(GetSystemDirectoryA, buffer, size);
}

INT IsSystemDirOutsideWindowsDir(void) {
  char windowsDir[256];
  char systemDir[256];
  GetWindowsDir(windowsDir, 255);
  GetSystemDir(systemDir, 255);
  CharUpperA(windowsDir);
  CharUpperA(systemDir);
  if (windowsDir[0] == '\0') FatalSetupError();
  for (INT i = 0; windowsDir[i] != '\0'; ++i) {
    if (systemDir[i] != windowsDir[i]) return 1;
  }
  return 0;
}
