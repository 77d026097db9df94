// Copies the driver files of "System Files" into SYSTEM32\DRIVERS\ under the
// billboard, then registers the driver service; a failure after the copy puts
// both back. Decides at the end whether Windows must restart.
#include "installer/installer.h"
#include "platform/dialogs/dialog_ids.h"
#include "resources/product.h"
#include "support/driver_service.h"
#include "support/fatal_path.h"
#include "support/registry_entry.h"
#include "support/setup_paths.h"
#include "toolkit/copy_wrappers.h"
#include "toolkit/dialogs.h"
#include "toolkit/log_lines.h"
#include "toolkit/setup_lifecycle.h"
#include "contract/toolkit_api.h"

// The one billboard stands for the whole copy (its share of the copy's time,
// in ticks); the gauge's top-left corner sits at this place on the frame, in
// dialog units.
static const LONG kBillboardTicks = 5;
static const INT kGaugeLeft = 155;
static const INT kGaugeTop = 130;

void BuildCopyList(void) {
  EmptyCopyList();
  char destination[SETUP_PATH_SIZE + 16];
  if (!DriversDirIn(SetupPaths.SystemDir, destination, sizeof destination)) {
    FailWithBufferOverflow();
  }
  QueueSectionFiles("System Files", SetupPaths.SourceDir, destination);
}

void SetUpCopyProgress(void) {
  AddBillboard(DIALOG_LIBRARY, DLG_BILLBOARD, BILLBOARD_DIALOG_PROC, kBillboardTicks);
  PlaceProgress(kGaugeLeft, kGaugeTop);
}

void PrepareFileCopy(void) {
  HCURSOR cursor = BeginWaitCursor();
  BuildCopyList();
  SetUpCopyProgress();
  EndWaitCursor(cursor);
}

// From the copy to the entry, a failure puts the machine back as it was: the
// copy keeps what it replaced until it is made final here.
void CopyAndRegisterDriver(void) {
  RunCopyList();
  Changes.filesCopied = UsCopyListChanges();
  SetFailureUndo(UndoInstall);
  if (!RegisterDriverService()) {
    RunFailureUndo();
    ReportRegistrationFailure();
  }
  InstallUninstaller();
  SetFailureUndo(nullptr);
  // The install stands; files left over are the toolkit's to name in the log.
  FCommitCopyList();
  CloseDialogs(1);  // the billboard the copy left up
}

void UndoInstall(void) {
  LogText("Undoing the install: this run's changes are put back");
  UndoUninstaller();
  UndoServiceRegistration();
  if (FUndoCopyList()) {
    LogText("Undone: the copied files (each file the copy replaced is back, each it added removed)");
  } else {
    LogText("Left as it is: not every copied file could be put back; the lines above name each");
  }
}

// Does a delayed rename or deletion wait for a file of ours in the drivers
// directory (an earlier run's replaced driver, or its staging)?
static bool EarlierRestartPending(void) {
  static char pending[16384];
  if (!ReadRegistryList(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Session Manager",
                        "PendingFileRenameOperations", pending, sizeof pending)) {
    return false;
  }
  static const LPCSTR kOurs[] = {"\\DRIVERS\\" DRIVER_FILE_NAME, "\\DRIVERS\\~STF"};
  for (LPSTR item = pending; *item != '\0'; item += lstrlenA(item) + 1) {
    CharUpperA(item);
    for (LPCSTR ours : kOurs) {
      char upper[64];
      lstrcpyA(upper, ours);
      CharUpperA(upper);
      const int length = lstrlenA(upper);
      for (LPCSTR p = item; *p != '\0'; ++p) {
        int i = 0;
        while (i < length && p[i] == upper[i]) ++i;
        if (i == length) return true;
      }
    }
  }
  return false;
}

bool RestartNeeded(void) {
  if (Changes.filesCopied != 0 || Changes.serviceCreated || Changes.serviceStartChanged ||
      !Changes.serviceRunning || EarlierRestartPending()) {
    return true;
  }
  LogText("Nothing changed and the driver is running: Windows need not restart");
  return false;
}
