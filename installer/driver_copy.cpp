// Copies the driver files of "System Files" into SYSTEM32\DRIVERS\ under the
// billboard, then registers the driver service; a failure after the copy puts
// both back. Decides at the end whether Windows must restart.
#include "installer/installer.h"
#include "platform/dialogs/dialog_ids.h"
#include "resources/product.h"
#include "support/driver_service.h"
#include "support/fatal_path.h"
#include "support/install_record.h"
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

void PrepareFileCopy(void) {
  HCURSOR cursor = BeginWaitCursor();
  AddBillboard(DIALOG_LIBRARY, DLG_BILLBOARD, BILLBOARD_DIALOG_PROC, kBillboardTicks);
  PlaceProgress(kGaugeLeft, kGaugeTop);
  EndWaitCursor(cursor);
}

// The fatal path puts back what the run changed; the run says what that is.
static void UndoRun(void* run) { UndoInstall(static_cast<InstallRun*>(run)); }

// From the copy to the entry, a failure puts the machine back as it was: the
// copy keeps what it replaced until it is made final here.
void CopyAndRegisterDriver(InstallRun* run) {
  InstallChangeRecord& changes = run->changes;
  SetFailureUndo(UndoRun, run);
  KeepPreviousDriver(run);
  RunCopyList();
  changes.filesCopied = UsCopyListChanges();
  changes.copyPlaced = true;
  DropKeptIfUnchanged(run);
  if (!RegisterDriverService(&run->services, &changes)) {
    UndoInstall(run);
    ReportRegistrationFailure();
  }
  InstallUninstaller(run);
  changes.final = true;
  // The install stands; files left over are the toolkit's to name in the log.
  FCommitCopyList();
  CloseDialogs(1);  // the billboard the copy left up
}

void UndoInstall(InstallRun* run) {
  InstallChangeRecord& changes = run->changes;
  if (changes.final || changes.undoing) return;
  changes.undoing = true;
  if (changes.copyPlaced) {
    LogText("Undoing the install: this run's changes are put back");
    UndoUninstaller(run);
    UndoServiceRegistration(&run->services, &changes);
    if (FUndoCopyList()) {
      LogText("Undone: the copied files (each file the copy replaced is back, each it added removed)");
    } else {
      LogText("Left as it is: not every copied file could be put back; the lines above name each");
    }
    changes.copyPlaced = false;
  }
  // Kept before the copy: taken back whether or not the copy ran.
  UndoKeptDriver(run);
  changes.undoing = false;
}

// Does a delayed rename or deletion wait for a file of ours in the drivers
// directory (an earlier run's replaced driver, or its staging)?
static bool EarlierRestartPending(void) {
  DWORD type = 0;
  std::string bytes;
  if (!ReadRegistryValue(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Session Manager",
                         "PendingFileRenameOperations", &type, &bytes) ||
      type != REG_MULTI_SZ) {
    return false;
  }
  static const char* const kOurs[] = {"\\" DRIVERS_SUBDIR DRIVER_FILE_NAME, "\\" DRIVERS_SUBDIR "~STF"};
  for (std::string item : RegistryStrings(bytes)) {
    for (char& c : item) c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    for (std::string ours : kOurs) {
      for (char& c : ours) c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
      if (item.find(ours) != std::string::npos) return true;
    }
  }
  return false;
}

bool RestartNeeded(const InstallChangeRecord& changes) {
  if (changes.filesCopied != 0 || changes.serviceCreated || changes.serviceStartChanged ||
      !changes.serviceRunning || EarlierRestartPending()) {
    return true;
  }
  LogText("Nothing changed and the driver is running: Windows need not restart");
  return false;
}
