#include "support/boot_check.h"

#include "resources/product.h"
#include "support/service_config.h"

const char kBootCheckService[] = DRIVER_SERVICE_NAME "check";
const char kBootCheckTail[] = "/quiet /verify /restore";

std::string BootCheckCommand(const std::string& productDir) {
  return "\"" + productDir + UNINSTALLER_FILE "\" " + kBootCheckTail;
}

DWORD ArrangeBootCheck(SC_HANDLE manager, const std::string& productDir, LPCSTR* call) {
  if (manager == nullptr) {
    *call = "OpenSCManagerA";
    return GetLastError();
  }
  const std::string command = BootCheckCommand(productDir);
  DWORD error = ERROR_SUCCESS;
  // Error control normal: a check that cannot start is in the System log, and the boot goes on.
  SC_HANDLE service = CreateServiceA(manager, kBootCheckService, PRODUCT_NAME " check",
                                     SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS,
                                     SERVICE_AUTO_START, SERVICE_ERROR_NORMAL, command.c_str(),
                                     nullptr, nullptr, "", nullptr, nullptr);
  if (service == nullptr && GetLastError() == ERROR_SERVICE_EXISTS) {
    service = OpenServiceA(manager, kBootCheckService, SERVICE_ALL_ACCESS);
    if (service == nullptr) {
      *call = "OpenServiceA";
      error = GetLastError();
    } else if (!ChangeServiceConfigA(service, SERVICE_WIN32_OWN_PROCESS, SERVICE_AUTO_START,
                                     SERVICE_ERROR_NORMAL, command.c_str(), "", nullptr, "",
                                     nullptr, nullptr, PRODUCT_NAME " check")) {
      *call = "ChangeServiceConfigA";
      error = GetLastError();
    }
  } else if (service == nullptr) {
    *call = "CreateServiceA";
    error = GetLastError();
  }
  if (service != nullptr) CloseServiceHandle(service);
  return error;
}

DWORD RemoveBootCheck(LPCSTR* call) {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  if (manager == nullptr) {
    *call = "OpenSCManagerA";
    return GetLastError();
  }
  DWORD error = ERROR_SUCCESS;
  SC_HANDLE service = OpenServiceA(manager, kBootCheckService, SERVICE_CHANGE_CONFIG | DELETE);
  if (service == nullptr) {
    error = GetLastError();
    *call = "OpenServiceA";
    if (error == ERROR_SERVICE_DOES_NOT_EXIST || error == ERROR_SERVICE_MARKED_FOR_DELETE) {
      error = ERROR_SUCCESS;
    }
  } else {
    // Disabled first: should the deletion fail, the check still never runs again.
    if (!ChangeServiceConfigA(service, SERVICE_NO_CHANGE, SERVICE_DISABLED, SERVICE_NO_CHANGE,
                              nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr)) {
      *call = "ChangeServiceConfigA";
      error = GetLastError();
    }
    if (!DeleteService(service) && GetLastError() != ERROR_SERVICE_MARKED_FOR_DELETE) {
      *call = "DeleteService";
      error = GetLastError();
    }
    CloseServiceHandle(service);
  }
  CloseServiceHandle(manager);
  return error;
}

bool BootCheckPending(void) {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  if (manager == nullptr) return false;
  SC_HANDLE service = OpenServiceA(manager, kBootCheckService, SERVICE_QUERY_CONFIG);
  bool pending = false;
  if (service != nullptr) {
    ServiceConfig config;
    pending = ReadServiceConfig(service, &config) == ERROR_SUCCESS &&
              config.start == SERVICE_AUTO_START;
    CloseServiceHandle(service);
  }
  CloseServiceHandle(manager);
  return pending;
}
