#include "support/setup_paths.h"

#include "support/path_join.h"

SetupPathBuffers SetupPaths;

bool ReadProgramDir(LPSTR dir) {
  char path[MAX_PATH + 1];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  StripFileName(path);
  if (lstrlenA(path) >= SETUP_PATH_SIZE) return false;
  lstrcpyA(dir, path);
  return true;
}
