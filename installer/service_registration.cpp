// Registers the CD-ROM driver with the service control manager as a
// system-start kernel driver of group "SCSI miniport".
#include "installer/installer.h"
#include "support/driver_service.h"
#include "support/service_config.h"
#include "support/fatal_path.h"
#include "support/fs_redirection.h"
#include "support/setup_paths.h"
#include "toolkit/copy_wrappers.h"
#include "toolkit/log_lines.h"

static const DriverServiceDescription& kService = DriverService;

// A service whose image file is missing would fail at every boot while setup
// reported success: the file the copy placed must be there first.
static bool DriverImageInPlace(void) {
  const std::string image = DriverFileOf(SetupPaths.SystemDir);
  PVOID redirection = TurnOffFileRedirection();
  DWORD attributes = GetFileAttributesA(image.c_str());
  DWORD error = GetLastError();
  RestoreFileRedirection(redirection);
  if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return true;
  }
  LogWin32Failure("The driver file " + image + " is not in place; the service is not registered",
                  attributes == INVALID_FILE_ATTRIBUTES ? error : ERROR_FILE_NOT_FOUND);
  return false;
}

// A service's configuration in the log's words; a warning when its image
// path is not the file just installed.
static std::string Described(const ServiceConfig& c) {
  if (!NamesDriverFile(c.imagePath.c_str(), SetupPaths.SystemDir)) {
    LogText("Warning: service " + std::string(kService.name) +
            " keeps its image path, which does not name the file just installed (" +
            DriverFileOf(SetupPaths.SystemDir) + "): Windows will not load that file");
  }
  return "type " + std::to_string(c.type) + ", start " + std::to_string(c.start) + ", group \"" +
         c.group + "\", image \"" + c.imagePath + "\"";
}

// The service's configuration as the manager has it, in the log's words, and
// its start type; the call's error when it cannot be read, which the caller logs.
static DWORD DescribeServiceConfig(SC_HANDLE service, std::string* words, DWORD* start) {
  ServiceConfig c;
  if (const DWORD error = ReadServiceConfig(service, &c)) return error;
  *words = Described(c);
  *start = c.start;
  return ERROR_SUCCESS;
}

// A service that existed keeps its configuration but its start type; what it
// was is kept so that a failed install can put it back. *words: its
// configuration, as the kept-driver step read it before the copy (the
// manager is not asked again) or as the manager answers now.
static SC_HANDLE OpenExistingService(SC_HANDLE manager, InstallChangeRecord* changes,
                                     std::string* words) {
  SC_HANDLE service = OpenServiceA(manager, kService.name, SERVICE_ALL_ACCESS);
  if (service == nullptr) {
    LogFailedCall("OpenServiceA", kService.name, GetLastError());
    return nullptr;
  }
  if (changes->serviceSeen) {
    *words = Described(changes->serviceSeenConfig);
    changes->serviceStartBefore = changes->serviceSeenConfig.start;
  } else if (const DWORD error =
                 DescribeServiceConfig(service, words, &changes->serviceStartBefore)) {
    LogFailedCall("QueryServiceConfigA", kService.name, error);
    CloseServiceHandle(service);
    return nullptr;  // without its start type a failure could not be undone
  } else {
    changes->serviceRunning = ServiceRunning(service);
  }
  LogText("Service " + std::string(kService.name) + " exists: " + *words);
  return service;
}

// What the service is now, as the manager answers, not what was asked for: read
// back after a change, else the answer read before it. A registration that
// worked stands when only the read-back fails.
static void LogRegistered(SC_HANDLE service, bool changed, std::string words) {
  DWORD start = 0;
  const DWORD error = changed ? DescribeServiceConfig(service, &words, &start) : ERROR_SUCCESS;
  if (error != ERROR_SUCCESS) {
    LogText("Warning: the settings of service " + std::string(kService.name) +
            " cannot be read back (QueryServiceConfigA, error " + std::to_string(error) +
            "); the registration stands");
    return;
  }
  LogText("Service " + std::string(kService.name) + " registered: " + words);
}

int RegisterDriverService(ServiceManager* services, InstallChangeRecord* changes) {
  int result = 1;
  if (!DriverImageInPlace()) return 0;
  SC_HANDLE manager = services->Handle();
  if (manager == nullptr) {
    LogFailedCall("OpenSCManagerA", "", GetLastError());
    return 0;
  }

  HCURSOR cursor = BeginWaitCursor();
  std::string words;  // an existing service's configuration as read
  // Created as demand start, then set to system start: the same change serves
  // a service left by an earlier install, whose image path is kept. The create
  // is asked even of a service read before the copy: it is what refuses one
  // marked for deletion, which would be gone at the next boot.
  SC_HANDLE service = CreateServiceA(manager, kService.name, kService.displayName,
                                     SERVICE_ALL_ACCESS, kService.type, SERVICE_DEMAND_START,
                                     kService.errorControl, kService.imagePath, kService.group,
                                     nullptr, kService.dependencies, nullptr, nullptr);
  DWORD error = service == nullptr ? GetLastError() : ERROR_SUCCESS;
  if (service != nullptr) {
    changes->serviceCreated = true;
  } else if (error == ERROR_SERVICE_EXISTS) {
    service = OpenExistingService(manager, changes, &words);
  } else {
    LogFailedCall("CreateServiceA", kService.name, error);
  }
  if (service == nullptr) {
    result = 0;
  } else {
    const bool change = changes->serviceCreated || changes->serviceStartBefore != kService.start;
    if (change) {
      if (ChangeServiceConfigA(service, SERVICE_NO_CHANGE, kService.start,
                               SERVICE_NO_CHANGE, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr)) {
        changes->serviceStartChanged = !changes->serviceCreated;
      } else {
        LogFailedCall("ChangeServiceConfigA (start type: system)", kService.name,
                      GetLastError());
        result = 0;
      }
    }
    if (result) LogRegistered(service, change, words);
    CloseServiceHandle(service);
  }
  EndWaitCursor(cursor);
  return result;
}

// Puts the service back as this run found it: deleted when the run created
// it, its start type restored when the run changed it.
void UndoServiceRegistration(ServiceManager* services, InstallChangeRecord* changes) {
  if (!changes->serviceCreated && !changes->serviceStartChanged) return;
  SC_HANDLE manager = services->Handle();
  SC_HANDLE service = manager == nullptr
                          ? nullptr
                          : OpenServiceA(manager, kService.name, SERVICE_CHANGE_CONFIG | DELETE);
  bool undone = false;
  if (service == nullptr) {
    LogFailedCall(manager == nullptr ? "OpenSCManagerA" : "OpenServiceA", kService.name,
                  GetLastError());
  } else if (changes->serviceCreated) {
    undone = DeleteService(service) != FALSE;
    if (!undone) LogFailedCall("DeleteService", kService.name, GetLastError());
  } else {
    undone = ChangeServiceConfigA(service, SERVICE_NO_CHANGE, changes->serviceStartBefore,
                                  SERVICE_NO_CHANGE, nullptr, nullptr, nullptr, nullptr, nullptr,
                                  nullptr, nullptr) != FALSE;
    if (!undone) LogFailedCall("ChangeServiceConfigA (start type)", kService.name, GetLastError());
  }
  if (service != nullptr) CloseServiceHandle(service);
  char line[200];
  if (undone) {
    wsprintfA(line, changes->serviceCreated ? "Undone: service %s, which this run created, deleted"
                                           : "Undone: service %s has its start type %lu again",
              kService.name, static_cast<unsigned long>(changes->serviceStartBefore));
  } else {
    wsprintfA(line, changes->serviceCreated
                        ? "Left as it is: service %s, which this run created, could not be deleted"
                        : "Left as it is: service %s keeps system start; it had start type %lu",
              kService.name, static_cast<unsigned long>(changes->serviceStartBefore));
  }
  LogText(line);
  changes->serviceCreated = changes->serviceStartChanged = false;
}
