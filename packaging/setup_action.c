// The custom actions of the Windows Installer package: it places the disk's
// files in a folder of its own, then runs setup.exe (or, when it is removed,
// the disk's uninstall.exe) from there, deferred and elevated. Windows
// Installer itself does not install the driver: its ServiceInstall table
// knows no system-start kernel driver, and a custom action's failure code
// would roll the whole package back (1627), so the exit code is read here.
#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include "action_result.h"

// A line for the package's log (msiexec /l*v).
static void Note(MSIHANDLE install, const char* text) {
  MSIHANDLE record = MsiCreateRecord(1);
  if (record == 0) return;
  MsiRecordSetStringA(record, 0, text);
  MsiProcessMessage(install, INSTALLMESSAGE_INFO, record);
  MsiCloseHandle(record);
}

// CustomActionData is "<folder of the disk>|<UILevel>", written by the
// immediate action of the same name.
static UINT RunFromDisk(MSIHANDLE install, const char* program, int removing) {
  char data[MAX_PATH + 16] = "";
  DWORD size = sizeof data;
  if (MsiGetPropertyA(install, "CustomActionData", data, &size) != ERROR_SUCCESS) {
    Note(install, "Merlox IDE CD-ROM Drive: the custom action has no CustomActionData");
    return ERROR_INSTALL_FAILURE;
  }
  char* bar = data;
  while (*bar != '\0' && *bar != '|') ++bar;
  const int progress = *bar == '|' && bar[1] >= '3';  // basic UI or more: the progress may show
  *bar = '\0';
  // setup.exe and uninstall.exe take the same switches.
  char command[2 * MAX_PATH + 64];
  wsprintfA(command, "\"%s%s\" %s /norestart", data, program,
            progress && !removing ? "/passive" : "/quiet");
  Note(install, command);

  STARTUPINFOA start;
  PROCESS_INFORMATION process;
  ZeroMemory(&start, sizeof start);
  start.cb = sizeof start;
  if (!CreateProcessA(NULL, command, NULL, NULL, FALSE, 0, NULL, data, &start, &process)) {
    char text[2 * MAX_PATH + 96];
    wsprintfA(text, "Merlox IDE CD-ROM Drive: cannot start %s (error %lu)", command, GetLastError());
    Note(install, text);
    return ERROR_INSTALL_FAILURE;
  }
  DWORD code = ERROR_INSTALL_FAILURE;
  WaitForSingleObject(process.hProcess, INFINITE);
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);

  char text[MAX_PATH + 96];
  wsprintfA(text, "Merlox IDE CD-ROM Drive: %s ended with exit code %lu", program, code);
  Note(install, text);
  switch (ActionResultOf(code, removing)) {
    case kActionDone:
      return ERROR_SUCCESS;
    case kActionDoneRestart:
      // The package's own exit code becomes 3010, or Windows Installer restarts
      // at its end as its restart switches say.
      MsiSetMode(install, MSIRUNMODE_REBOOTATEND, TRUE);
      return ERROR_SUCCESS;
    default:
      return ERROR_INSTALL_FAILURE;
  }
}

UINT __stdcall InstallDriver(MSIHANDLE install) { return RunFromDisk(install, "setup.exe", 0); }

UINT __stdcall RemoveDriver(MSIHANDLE install) { return RunFromDisk(install, "uninstall.exe", 1); }
