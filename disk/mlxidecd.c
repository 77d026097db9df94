/* Stand-in for the vendor's IDE CD-ROM driver: a kernel-mode image that loads
 * and unloads cleanly, so that the installer's copy, service registration and
 * the boot-time load can be checked end to end. Build a disk with the real
 * driver through the DRIVER_FILE cache variable (see disk/CMakeLists.txt). */
#include <ddk/wdm.h>

static VOID NTAPI MlxUnload(PDRIVER_OBJECT driver) {
  UNREFERENCED_PARAMETER(driver);
}

NTSTATUS NTAPI DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING registryPath) {
  UNREFERENCED_PARAMETER(registryPath);
  /* Without an unload routine the driver could never be stopped. */
  driver->DriverUnload = MlxUnload;
  return STATUS_SUCCESS;
}
