/* A driver whose DriverEntry fails: Windows (and Wine) leave its service
   stopped at the boot, which the check after the restart must tell. */
#include <ddk/wdm.h>

NTSTATUS NTAPI DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING registryPath) {
  UNREFERENCED_PARAMETER(driver);
  UNREFERENCED_PARAMETER(registryPath);
  return STATUS_DEVICE_CONFIGURATION_ERROR;
}
