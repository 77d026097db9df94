#include "toolkit/copy_wrappers.h"

#include "support/guarded.h"
#include "toolkit/setup_lifecycle.h"
#include "contract/toolkit_api.h"
#include "platform/setup-toolkit/core/file_record.h"

HCURSOR BeginWaitCursor(void) { return HShowWaitCursor(); }

void EndWaitCursor(HCURSOR previous) {
  Guarded<FRestoreCursor>(previous);
}

BOOL EmptyCopyList(void) { return ResetCopyList(); }

void QueueSectionFiles(LPCSTR section, LPCSTR sourceDir, LPCSTR destDir) {
  Guarded<FAddSectionFilesToCopyList>(section, sourceDir, destDir);
}

void AddBillboard(LPCSTR dll, UINT dialogId, LPCSTR proc, LONG ticks) {
  Guarded<FAddToBillboardList>(dll, dialogId, proc, ticks);
}

BOOL PlaceProgress(INT x, INT y) { return ProSetPos(x, y); }

void RunCopyList(void) {
  if (GrcCopyFilesInCopyList(HinstFrame()) > 0) FatalSetupError();
}

std::vector<PlannedFile> CopyListEntries(void) {
  std::vector<PlannedFile> files;
  LPCSTR source = nullptr;
  LPCSTR target = nullptr;
  DWORD flags = 0;
  for (UINT n = 1; StfGetCopyListEntry(n, &source, &target, &flags); ++n) {
    files.push_back({source, target, (flags & stf::kFileFlagVital) != 0});
  }
  return files;
}
