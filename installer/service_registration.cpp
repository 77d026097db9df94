// Registers the CD-ROM driver with the service control manager as a
// system-start kernel driver of group "SCSI miniport".
#include "installer/installer.h"
#include "resources/product.h"
#include "support/fs_redirection.h"
#include "support/path_join.h"
#include "support/setup_paths.h"
#include "toolkit/copy_wrappers.h"
#include "toolkit/log_lines.h"

static const char kImagePrefix[] = "\\SystemRoot\\SYSTEM32\\DRIVERS\\";
static const char kServiceName[] = DRIVER_SERVICE_NAME;
static const char kImageExtension[] = ".SYS";
static const char kLoadOrderGroup[] = "SCSI miniport";
static const char kNoDependencies[] = "";  // an empty list, not a null pointer

// A service whose image file is missing would fail at every boot while setup
// reported success: the file the copy placed must be there first.
static bool DriverImageInPlace(void) {
  LPSTR image = ConcatPath4(SetupPaths.SystemDir, "DRIVERS\\", kServiceName, kImageExtension);
  PVOID redirection = TurnOffFileRedirection();
  DWORD attributes = GetFileAttributesA(image);
  DWORD error = GetLastError();
  RestoreFileRedirection(redirection);
  if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return true;
  }
  char what[600];
  wsprintfA(what, "The driver file %.500s is not in place; the service is not registered",
            image);
  LogWin32Failure(what, attributes == INVALID_FILE_ATTRIBUTES ? error : ERROR_FILE_NOT_FOUND);
  return false;
}

// Does an image path name the file setup installs? Windows accepts it in the
// system-root form, relative to the Windows directory, or as a full path.
static bool NamesInstalledImage(LPCSTR path) {
  char form[SETUP_PATH_SIZE + 40];
  wsprintfA(form, "%sDRIVERS\\%s", SetupPaths.SystemDir, DRIVER_FILE_NAME);
  if (lstrcmpiA(path, form) == 0) return true;
  static const LPCSTR kRoots[] = {"\\??\\", "\\SystemRoot\\", "%SystemRoot%\\", ""};
  for (LPCSTR root : kRoots) {
    const bool full = root[0] == '\\' && root[1] == '?';
    wsprintfA(form, "%s%s%s", root, full ? SetupPaths.SystemDir : "SYSTEM32\\",
              "DRIVERS\\" DRIVER_FILE_NAME);
    if (lstrcmpiA(path, form) == 0) return true;
  }
  return false;
}

// The configuration a service already had, which setup keeps; a warning when
// it names another file than the one just installed.
static void LogExistingService(SC_HANDLE service) {
  union {
    QUERY_SERVICE_CONFIGA config;
    char bytes[8192];  // the largest answer the call gives
  } answer;
  DWORD needed = 0;
  if (!QueryServiceConfigA(service, &answer.config, sizeof answer, &needed)) {
    LogFailedCall("QueryServiceConfigA", DRIVER_SERVICE_NAME, GetLastError());
    return;
  }
  const QUERY_SERVICE_CONFIGA& c = answer.config;
  char line[1024];
  wsprintfA(line, "Service %s exists: type %lu, start %lu, group \"%.200s\", image \"%.500s\"",
            kServiceName, static_cast<unsigned long>(c.dwServiceType),
            static_cast<unsigned long>(c.dwStartType),
            c.lpLoadOrderGroup ? c.lpLoadOrderGroup : "", c.lpBinaryPathName ? c.lpBinaryPathName : "");
  LogText(line);
  if (c.lpBinaryPathName == nullptr || !NamesInstalledImage(c.lpBinaryPathName)) {
    wsprintfA(line, "Warning: service %s keeps its image path, which does not name the file "
              "just installed (%.300sDRIVERS\\%s): Windows will not load that file",
              kServiceName, SetupPaths.SystemDir, DRIVER_FILE_NAME);
    LogText(line);
  }
}

int RegisterDriverService(void) {
  int result = 1;
  if (!DriverImageInPlace()) return 0;
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  if (manager == nullptr) {
    LogFailedCall("OpenSCManagerA", "", GetLastError());
    return 0;
  }

  HCURSOR cursor = BeginWaitCursor();
  char imagePath[256];
  lstrcpyA(imagePath, kImagePrefix);
  lstrcatA(imagePath, kServiceName);
  lstrcatA(imagePath, kImageExtension);

  // Created as demand start, then set to system start: the same change serves
  // a service left by an earlier install, whose image path is kept.
  SC_HANDLE service = CreateServiceA(manager, kServiceName, nullptr, SERVICE_ALL_ACCESS,
                                     SERVICE_KERNEL_DRIVER, SERVICE_DEMAND_START,
                                     SERVICE_ERROR_NORMAL, imagePath, kLoadOrderGroup, nullptr,
                                     kNoDependencies, nullptr, nullptr);
  DWORD error = service == nullptr ? GetLastError() : ERROR_SUCCESS;
  if (error == ERROR_SERVICE_EXISTS) {
    service = OpenServiceA(manager, kServiceName, SERVICE_ALL_ACCESS);
    if (service == nullptr) LogFailedCall("OpenServiceA", DRIVER_SERVICE_NAME, GetLastError());
    if (service != nullptr) LogExistingService(service);
  } else if (service == nullptr) {
    LogFailedCall("CreateServiceA", DRIVER_SERVICE_NAME, error);
  }
  if (service == nullptr) {
    result = 0;
  } else {
    if (!ChangeServiceConfigA(service, SERVICE_NO_CHANGE, SERVICE_SYSTEM_START, SERVICE_NO_CHANGE,
                              nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr)) {
      LogFailedCall("ChangeServiceConfigA (start type: system)", DRIVER_SERVICE_NAME,
                    GetLastError());
      result = 0;
    }
    CloseServiceHandle(service);
  }
  if (result) {
    LogText("Service " DRIVER_SERVICE_NAME " registered: kernel driver, system start, group "
            "\"SCSI miniport\"");
  }
  CloseServiceHandle(manager);
  EndWaitCursor(cursor);
  return result;
}
