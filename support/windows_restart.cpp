// Restarts Windows so that a driver installed or removed takes effect.
#include "support/windows_restart.h"

int RestartWindows(void) {
  HANDLE token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
    return 0;
  }
  TOKEN_PRIVILEGES privileges;
  // Without the identifier the privilege set would name an undefined privilege.
  if (!LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid)) {
    return 0;
  }
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  // Success here does not mean the account holds the privilege; a missing one
  // shows as a refused reboot below.
  if (!AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr)) return 0;
  if (!ExitWindowsEx(EWX_REBOOT | EWX_FORCE, 0)) return 0;
  return 1;
}
