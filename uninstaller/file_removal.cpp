// Removing the driver file, the uninstall entry and the product's folder.
#include "resources/product.h"
#include "support/fs_redirection.h"
#include "support/path_join.h"
#include "support/registry_entry.h"
#include "support/setup_paths.h"
#include "toolkit/log_lines.h"
#include "toolkit/setup_lifecycle.h"
#include "contract/toolkit_api.h"
#include "uninstaller/uninstaller.h"

static const LPCSTR kUninstallerFiles[] = {UNINSTALLER_FILES};

void RemoveDriverFile(bool* pending) {
  LPSTR driver = ConcatPath3(SetupPaths.SystemDir, "DRIVERS\\", DRIVER_FILE_NAME);
  const BOOL queuedBefore = !FRestartListEmpty();
  PVOID redirection = TurnOffFileRedirection();
  // A loaded driver cannot be deleted: Windows deletes it at the next boot.
  INT removed = YnrcRemoveFile(driver, cmoRestart);
  RestoreFileRedirection(redirection);
  if (!removed) FatalSetupError();  // the toolkit has logged the call and its code
  char line[SETUP_PATH_SIZE + 64];
  if (!queuedBefore && !FRestartListEmpty()) {
    *pending = true;
    wsprintfA(line, "Driver file %s is in use: Windows deletes it when it restarts", driver);
  } else {
    wsprintfA(line, "Driver file %s removed", driver);
  }
  LogText(line);
}

// The folder named by the entry, not this program's: run from the setup disk,
// the uninstaller must leave the disk alone.
static void RemoveProductFolder(LPCSTR dir) {
  for (LPCSTR file : kUninstallerFiles) {
    // This program and its libraries are in use until it ends.
    if (!YnrcRemoveFile(ConcatPath(dir, file), cmoRestart)) FatalSetupError();
  }
  char folder[SETUP_PATH_SIZE];
  lstrcpyA(folder, dir);
  StripTrailingBackslash(folder);
  if (!RemoveDirectoryA(folder) && GetLastError() != ERROR_FILE_NOT_FOUND &&
      !MoveFileExA(folder, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
    LogFailedCall("MoveFileExA (delete at boot)", folder, GetLastError());
    FatalSetupError();
  }
  LogText(ConcatPath("Removed the uninstaller from ", folder));
}

void RemoveUninstallRecord(void) {
  char dir[SETUP_PATH_SIZE] = "";
  const BOOL located =
      ReadRegistryText(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "InstallLocation", dir, sizeof dir) &&
      dir[0] != '\0';
  LONG result = RemoveRegistryEntry(HKEY_LOCAL_MACHINE, UNINSTALL_KEY);
  if (result != ERROR_SUCCESS) {
    LogFailedCall("RegDeleteKeyA", "HKLM\\" UNINSTALL_KEY, static_cast<DWORD>(result));
    FatalSetupError();
  }
  LogText("Uninstall entry removed");
  FRemoveEventSource();  // a failure is logged; the driver is gone all the same
  if (located) {
    AppendBackslash(dir);
    RemoveProductFolder(dir);
  }
}
