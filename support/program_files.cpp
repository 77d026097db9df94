#include "support/program_files.h"

#include "support/path_join.h"
#include "support/registry_entry.h"
#include "support/setup_paths.h"

void ReadProgramFilesDir(LPSTR dir, LPCSTR systemDir) {
  if (!ReadRegistryText(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion",
                        "ProgramFilesDir", dir, SETUP_PATH_SIZE - 1) ||
      dir[0] == '\0') {
    wsprintfA(dir, "%.2s\\Program Files", systemDir);
  }
  AppendBackslash(dir);
}
