// Registers the CD-ROM driver with the service control manager as a
// system-start kernel driver of group "SCSI miniport".
#include "installer/installer.h"
#include "toolkit/copy_wrappers.h"

static const char kImagePrefix[] = "\\SystemRoot\\SYSTEM32\\DRIVERS\\";
static const char kServiceName[] = "mlxidecd";
static const char kImageExtension[] = ".SYS";
static const char kLoadOrderGroup[] = "SCSI miniport";
static const char kNoDependencies[] = "";  // an empty list, not a null pointer

int RegisterDriverService(void) {
  int result = 1;
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  if (manager == nullptr) return 0;

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
  if (service == nullptr && GetLastError() == ERROR_SERVICE_EXISTS) {
    service = OpenServiceA(manager, kServiceName, SERVICE_ALL_ACCESS);
  }
  if (service == nullptr) {
    result = 0;
  } else {
    if (!ChangeServiceConfigA(service, SERVICE_NO_CHANGE, SERVICE_SYSTEM_START, SERVICE_NO_CHANGE,
                              nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr)) {
      result = 0;
    }
    CloseServiceHandle(service);
  }
  CloseServiceHandle(manager);
  EndWaitCursor(cursor);
  return result;
}
