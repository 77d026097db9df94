// The floor of a quiet driver install: the driver file copied into
// SYSTEM32\DRIVERS and the kernel-driver service created, nothing else.
// Usage: floor.exe <driver file>; 0 when both are done (an existing
// service counts as created). Built twice: bare, and as floor_user32.exe,
// which imports USER32 as every GUI program does (its start-up is paid when
// the process starts) and calls none of it.
#include <windows.h>

#ifdef FLOOR_IMPORTS_USER32
// Taken by address only: the import is made, nothing is called.
static BOOL(WINAPI* volatile keepUser32)(HWND) = &IsWindow;
#endif

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR command, int) {
  char target[MAX_PATH];
  const UINT length = GetSystemDirectoryA(target, MAX_PATH - 32);
  if (length == 0 || length >= MAX_PATH - 32) return 1;
  lstrcatA(target, "\\DRIVERS\\mlxidecd.SYS");
  if (!CopyFileA(command, target, FALSE)) return 2;
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  if (manager == nullptr) return 3;
  SC_HANDLE service = CreateServiceA(
      manager, "mlxidecd", "mlxidecd", SERVICE_ALL_ACCESS, SERVICE_KERNEL_DRIVER,
      SERVICE_SYSTEM_START, SERVICE_ERROR_NORMAL, "\\SystemRoot\\SYSTEM32\\DRIVERS\\mlxidecd.SYS",
      "SCSI miniport", nullptr, nullptr, nullptr, nullptr);
  const bool done = service != nullptr || GetLastError() == ERROR_SERVICE_EXISTS;
  if (service != nullptr) CloseServiceHandle(service);
  CloseServiceHandle(manager);
  return done ? 0 : 4;
}
