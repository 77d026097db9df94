// Stopping and deleting the driver service.
#include "resources/product.h"
#include "support/driver_service.h"
#include "support/registry_entry.h"
#include "toolkit/log_lines.h"
#include "toolkit/setup_lifecycle.h"
#include "uninstaller/uninstaller.h"

static const DWORD kStopWaitMs = 10000;  // a driver that takes longer stays till the boot

[[noreturn]] static void Fail(LPCSTR call, LPCSTR object, DWORD error) {
  LogFailedCall(call, object, error);
  FatalSetupError();
}

static void LogServiceLine(LPCSTR format) {
  char line[120];
  wsprintfA(line, format, DriverService.name);
  LogText(line);
}

static SC_HANDLE OpenManager(void) {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  if (manager == nullptr) Fail("OpenSCManagerA", "", GetLastError());
  return manager;
}

// A service that is deleted but still loaded is gone for good: it answers a
// change of its configuration with ERROR_SERVICE_MARKED_FOR_DELETE.
static bool ServiceLive(SC_HANDLE manager) {
  SC_HANDLE service = OpenServiceA(manager, DriverService.name, SERVICE_CHANGE_CONFIG);
  if (service == nullptr) return GetLastError() != ERROR_SERVICE_DOES_NOT_EXIST;
  bool live = ChangeServiceConfigA(service, SERVICE_NO_CHANGE, SERVICE_NO_CHANGE,
                                   SERVICE_NO_CHANGE, nullptr, nullptr, nullptr, nullptr, nullptr,
                                   nullptr, nullptr) ||
              GetLastError() != ERROR_SERVICE_MARKED_FOR_DELETE;
  CloseServiceHandle(service);
  return live;
}

bool DriverInstalled(void) {
  if (RegistryEntryExists(HKEY_LOCAL_MACHINE, UNINSTALL_KEY)) return true;
  SC_HANDLE manager = OpenManager();
  bool live = ServiceLive(manager);
  CloseServiceHandle(manager);
  char line[120];
  wsprintfA(line, live ? "The uninstall entry is missing, but service %s exists"
                       : "Neither the uninstall entry nor service %s exists",
            DriverService.name);
  LogText(line);
  return live;
}

// Asks the driver to stop and waits for it; true once it has stopped.
static bool StopService(SC_HANDLE service) {
  SERVICE_STATUS status;
  if (!ControlService(service, SERVICE_CONTROL_STOP, &status)) {
    DWORD error = GetLastError();
    if (error == ERROR_SERVICE_NOT_ACTIVE) return true;
    LogFailedCall("ControlService (stop)", DriverService.name, error);
    return false;
  }
  const DWORD started = GetTickCount();
  while (status.dwCurrentState != SERVICE_STOPPED && GetTickCount() - started < kStopWaitMs) {
    Sleep(100);
    if (!QueryServiceStatus(service, &status)) {
      LogFailedCall("QueryServiceStatus", DriverService.name, GetLastError());
      return false;
    }
  }
  return status.dwCurrentState == SERVICE_STOPPED;
}

void RemoveDriverService(bool* pending) {
  SC_HANDLE manager = OpenManager();
  SC_HANDLE service =
      OpenServiceA(manager, DriverService.name, SERVICE_STOP | SERVICE_QUERY_STATUS | DELETE);
  if (service == nullptr) {
    DWORD error = GetLastError();
    CloseServiceHandle(manager);
    if (error != ERROR_SERVICE_DOES_NOT_EXIST) Fail("OpenServiceA", DriverService.name, error);
    LogServiceLine("Service %s does not exist");
    return;
  }
  if (!StopService(service)) *pending = true;
  if (!DeleteService(service) && GetLastError() != ERROR_SERVICE_MARKED_FOR_DELETE) {
    DWORD error = GetLastError();
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
    Fail("DeleteService", DriverService.name, error);
  }
  CloseServiceHandle(service);
  CloseServiceHandle(manager);
  LogServiceLine(*pending ? "Service %s deleted; it is removed when Windows restarts"
                          : "Service %s stopped and deleted");
}
