#include "support/driver_service.h"

#include "resources/product.h"
#include "support/path_join.h"
#include "support/removal_paths.h"


const DriverServiceDescription DriverService = {
    DRIVER_SERVICE_NAME,
    nullptr,
    DRIVER_FILE_NAME,
    "\\SystemRoot\\" SYSTEM32_SUBDIR DRIVERS_SUBDIR DRIVER_FILE_NAME,
    SERVICE_KERNEL_DRIVER,
    SERVICE_SYSTEM_START,
    SERVICE_ERROR_NORMAL,
    "SCSI miniport",
    "",
};

static bool Join(LPSTR out, int size, LPCSTR a, LPCSTR b, LPCSTR c) {
  if (lstrlenA(a) + lstrlenA(b) + lstrlenA(c) >= size) return false;
  lstrcpyA(out, a);
  lstrcatA(out, b);
  lstrcatA(out, c);
  return true;
}

bool DriversDirIn(LPCSTR systemDir, LPSTR dir, int size) {
  return Join(dir, size, systemDir, DRIVERS_SUBDIR, "");
}

bool DriverFileIn(LPCSTR systemDir, LPSTR path, int size) {
  return Join(path, size, systemDir, DRIVERS_SUBDIR, DriverService.fileName);
}

std::string DriversDirOf(LPCSTR systemDir) { return std::string(systemDir) + DRIVERS_SUBDIR; }

std::string DriverFileOf(LPCSTR systemDir) { return DriversDirOf(systemDir) + DriverService.fileName; }

std::string StoredDriversDir(LPCSTR systemDir) {
  char system[MAX_PATH + 1] = "";
  const UINT length = GetSystemDirectoryA(system, sizeof system - 1);
  if (length == 0 || length >= sizeof system - 1) return DriversDirOf(systemDir);
  lstrcatA(system, "\\");
  if (lstrcmpiA(system, systemDir) != 0) return DriversDirOf(systemDir);
  // Every Windows names the folder in lower case.
  std::string drivers = DRIVERS_SUBDIR;
  for (char& c : drivers) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  return system + drivers;
}

std::string StoredSpelling(const std::string& path, LPCSTR systemDir) {
  if (!FileDirectlyIn(path, DriversDirOf(systemDir), IsSystemLeadByte)) return path;
  return StoredDriversDir(systemDir) + FileNameOfPath(path.c_str());
}

bool NamesDriverFile(LPCSTR imagePath, LPCSTR systemDir) {
  char form[MAX_PATH + 16];
  static const LPCSTR kFullRoots[] = {"", "\\??\\"};
  for (LPCSTR root : kFullRoots) {
    if (Join(form, sizeof form, root, systemDir, DRIVERS_SUBDIR DRIVER_FILE_NAME) &&
        lstrcmpiA(imagePath, form) == 0) {
      return true;
    }
  }
  static const LPCSTR kRelativeRoots[] = {"\\SystemRoot\\", "%SystemRoot%\\", ""};
  for (LPCSTR root : kRelativeRoots) {
    if (Join(form, sizeof form, root, SYSTEM32_SUBDIR, DRIVERS_SUBDIR DRIVER_FILE_NAME) &&
        lstrcmpiA(imagePath, form) == 0) {
      return true;
    }
  }
  return false;
}
