#include "support/program_files.h"

#include "support/install_record.h"
#include "support/path_join.h"
#include "support/registry_entry.h"

std::string ProgramFilesDir(LPCSTR systemDir) {
  DWORD type = 0;
  std::string bytes, dir;
  if (ReadRegistryValue(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion",
                        "ProgramFilesDir", &type, &bytes) &&
      (type == REG_SZ || type == REG_EXPAND_SZ)) {
    dir = RegistryText(bytes);
  }
  if (dir.empty()) dir = std::string(systemDir).substr(0, 2) + "\\Program Files";
  return EndsInBackslash(dir.c_str()) ? dir : dir + "\\";
}
