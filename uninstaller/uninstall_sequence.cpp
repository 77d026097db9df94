// The uninstaller from start to restart, in the shape of setup's own sequence.
#include "contract/toolkit_api.h"
#include "platform/process_exit.h"
#include "resources/product.h"
#include "support/path_join.h"
#include "support/boot_check.h"
#include "support/setup_paths.h"
#include "support/windows_restart.h"
#include "toolkit/driver_check.h"
#include "toolkit/log_lines.h"
#include "toolkit/setup_lifecycle.h"
#include "uninstaller/uninstaller.h"

// The system directory, ending in a backslash; the drivers directory is below it.
static void WorkOutSystemDir(void) {
  UINT length = GetSystemDirectoryA(SetupPaths.SystemDir, SETUP_PATH_SIZE - 1);
  if (length == 0 || length >= SETUP_PATH_SIZE - 1) {
    char whole[MAX_PATH * 2] = "";
    GetSystemDirectoryA(whole, sizeof whole);
    FailWithTooLong("the system directory", whole, SETUP_PATH_SIZE - 2);
  }
  AppendBackslash(SetupPaths.SystemDir);
}

// The service first, so that its file can go at once; the entry last, so
// that a removal stopped at any step can be run again to its end. True when
// Windows is to restart at the end.
static bool RemoveEverything(void) {
  ConfirmRemoval();
  UninstallRun run;
  ReadUninstallEntry(&run);
  // A check still waiting for the next start would find no driver there.
  LPCSTR call = "";
  if (DWORD error = RemoveBootCheck(&call)) {
    LogFailedCall(call, kBootCheckService, error);
    FatalSetupError();
  }
  RemoveDriverService(&run.pending);
  MarkRemovalStep(&run, "service");
  RemoveDriverFile(&run.pending);
  MarkRemovalStep(&run, "driver file");
  RemoveRecordedFiles(&run);
  MarkRemovalStep(&run, "files");
  RemoveRecordedFolders(&run);
  MarkRemovalStep(&run, "folders");
  if (!FRemoveEventSource()) FatalSetupError();  // the toolkit has logged why
  MarkRemovalStep(&run, "event source");
  RemoveUninstallEntry();
  LogText(run.pending ? "The removal ends when Windows restarts"
                      : "The driver is removed; no restart is needed");
  return ReportRemoved(run.pending);
}

int UninstallMain(LPSTR lpCmdLine, bool atBoot) {
  bool restart = false;
  StfSetEventSource(PRODUCT_NAME, TRUE);
  if (StartSetup(lpCmdLine, "Remove " PRODUCT_NAME)) {
    // The uninstaller is the program that stays in the product's folder: it
    // runs the check after the restart, and /verify on demand without the disk.
    const CheckRequest check = RequestedCheck();
    if (check != CheckRequest::kNone) {
      const int code = RunDriverCheck(check == CheckRequest::kRestore || atBoot, atBoot);
      EndSetup();
      return code;
    }
    WorkOutSystemDir();
    if (DriverInstalled()) {
      restart = RemoveEverything();
    } else {
      ReportNotInstalled();
    }
    EndSetup();
  }
  if (restart && !RestartWindows()) ReportRestartRefused();
  return 0;
}
