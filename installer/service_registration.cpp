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

// The service's configuration as the manager has it: a log line after the
// prefix. False (logged) when it cannot be read.
static bool LogServiceConfig(SC_HANDLE service, LPCSTR prefix, DWORD* start) {
  union {
    QUERY_SERVICE_CONFIGA config;
    char bytes[8192];  // the largest answer the call gives
  } answer;
  DWORD needed = 0;
  if (!QueryServiceConfigA(service, &answer.config, sizeof answer, &needed)) {
    LogFailedCall("QueryServiceConfigA", DRIVER_SERVICE_NAME, GetLastError());
    return false;
  }
  const QUERY_SERVICE_CONFIGA& c = answer.config;
  char line[1024];
  wsprintfA(line, "%s: type %lu, start %lu, group \"%.200s\", image \"%.500s\"", prefix,
            static_cast<unsigned long>(c.dwServiceType), static_cast<unsigned long>(c.dwStartType),
            c.lpLoadOrderGroup ? c.lpLoadOrderGroup : "", c.lpBinaryPathName ? c.lpBinaryPathName : "");
  LogText(line);
  if (start != nullptr) *start = c.dwStartType;
  if (c.lpBinaryPathName == nullptr || !NamesInstalledImage(c.lpBinaryPathName)) {
    wsprintfA(line, "Warning: service %s keeps its image path, which does not name the file "
              "just installed (%.300sDRIVERS\\%s): Windows will not load that file",
              kServiceName, SetupPaths.SystemDir, DRIVER_FILE_NAME);
    LogText(line);
  }
  return true;
}

// A service that existed keeps its configuration but its start type; what it
// was is kept so that a failed install can put it back.
static SC_HANDLE OpenExistingService(SC_HANDLE manager) {
  SC_HANDLE service = OpenServiceA(manager, kServiceName, SERVICE_ALL_ACCESS);
  if (service == nullptr) {
    LogFailedCall("OpenServiceA", DRIVER_SERVICE_NAME, GetLastError());
    return nullptr;
  }
  if (!LogServiceConfig(service, "Service " DRIVER_SERVICE_NAME " exists",
                        &Changes.serviceStartBefore)) {
    CloseServiceHandle(service);
    return nullptr;  // without its start type a failure could not be undone
  }
  SERVICE_STATUS status;
  Changes.serviceRunning =
      QueryServiceStatus(service, &status) && status.dwCurrentState == SERVICE_RUNNING;
  return service;
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
  if (service != nullptr) {
    Changes.serviceCreated = true;
  } else if (error == ERROR_SERVICE_EXISTS) {
    service = OpenExistingService(manager);
  } else {
    LogFailedCall("CreateServiceA", DRIVER_SERVICE_NAME, error);
  }
  if (service == nullptr) {
    result = 0;
  } else {
    if (Changes.serviceCreated || Changes.serviceStartBefore != SERVICE_SYSTEM_START) {
      if (ChangeServiceConfigA(service, SERVICE_NO_CHANGE, SERVICE_SYSTEM_START,
                               SERVICE_NO_CHANGE, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr)) {
        Changes.serviceStartChanged = !Changes.serviceCreated;
      } else {
        LogFailedCall("ChangeServiceConfigA (start type: system)", DRIVER_SERVICE_NAME,
                      GetLastError());
        result = 0;
      }
    }
    // What the service is now, as the manager answers, not what was asked for.
    if (result && !LogServiceConfig(service, "Service " DRIVER_SERVICE_NAME " registered",
                                    nullptr)) {
      result = 0;
    }
    CloseServiceHandle(service);
  }
  CloseServiceHandle(manager);
  EndWaitCursor(cursor);
  return result;
}

// Puts the service back as this run found it: deleted when the run created
// it, its start type restored when the run changed it.
void UndoServiceRegistration(void) {
  if (!Changes.serviceCreated && !Changes.serviceStartChanged) return;
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  SC_HANDLE service = manager == nullptr
                          ? nullptr
                          : OpenServiceA(manager, kServiceName, SERVICE_CHANGE_CONFIG | DELETE);
  bool undone = false;
  if (service == nullptr) {
    LogFailedCall(manager == nullptr ? "OpenSCManagerA" : "OpenServiceA", DRIVER_SERVICE_NAME,
                  GetLastError());
  } else if (Changes.serviceCreated) {
    undone = DeleteService(service) != FALSE;
    if (!undone) LogFailedCall("DeleteService", DRIVER_SERVICE_NAME, GetLastError());
  } else {
    undone = ChangeServiceConfigA(service, SERVICE_NO_CHANGE, Changes.serviceStartBefore,
                                  SERVICE_NO_CHANGE, nullptr, nullptr, nullptr, nullptr, nullptr,
                                  nullptr, nullptr) != FALSE;
    if (!undone) LogFailedCall("ChangeServiceConfigA (start type)", DRIVER_SERVICE_NAME, GetLastError());
  }
  if (service != nullptr) CloseServiceHandle(service);
  if (manager != nullptr) CloseServiceHandle(manager);
  char line[200];
  if (undone) {
    wsprintfA(line, Changes.serviceCreated ? "Undone: service %s, which this run created, deleted"
                                           : "Undone: service %s has its start type %lu again",
              kServiceName, static_cast<unsigned long>(Changes.serviceStartBefore));
  } else {
    wsprintfA(line, Changes.serviceCreated
                        ? "Left as it is: service %s, which this run created, could not be deleted"
                        : "Left as it is: service %s keeps system start; it had start type %lu",
              kServiceName, static_cast<unsigned long>(Changes.serviceStartBefore));
  }
  LogText(line);
  Changes.serviceCreated = Changes.serviceStartChanged = false;
}
