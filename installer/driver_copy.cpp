// Copies the driver files of "System Files" into SYSTEM32\DRIVERS\ under the
// billboard, then registers the driver service.
#include "installer/installer.h"
#include "support/path_join.h"
#include "support/setup_paths.h"
#include "toolkit/copy_wrappers.h"
#include "toolkit/dialogs.h"
#include "toolkit/log_lines.h"
#include "toolkit/setup_lifecycle.h"
#include "contract/toolkit_api.h"

void BuildCopyList(void) {
  EmptyCopyList();
  LPSTR destination = ConcatPath(SetupPaths.SystemDir, "DRIVERS\\");
  QueueSectionFiles("System Files", SetupPaths.SourceDir, destination);
}

void SetUpCopyProgress(void) {
  AddBillboard("mscuistf.dll", 5000, "FModelessDlgProc", 5);
  PlaceProgress(155, 130);
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
