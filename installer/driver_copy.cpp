// Copies the driver files of "System Files" into SYSTEM32\DRIVERS\ under the
// billboard, then registers the driver service.
#include "installer/installer.h"
#include "support/path_join.h"
#include "support/setup_paths.h"
#include "toolkit/copy_wrappers.h"
#include "toolkit/dialogs.h"

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

void CopyAndRegisterDriver(void) {
  RunCopyList();
  if (!RegisterDriverService()) ReportRegistrationFailure();
  InstallUninstaller();
  CloseDialogs(1);  // the billboard the copy left up
}
