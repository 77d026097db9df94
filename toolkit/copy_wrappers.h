// Guarded wrappers for the wait cursor, the copy list, the billboard, the
// progress gauge and the copy run: a failure never comes back to the caller.
#pragma once

#include <string>
#include <vector>

#include "platform/win32.h"

HCURSOR BeginWaitCursor(void);
void EndWaitCursor(HCURSOR previous);
BOOL EmptyCopyList(void);
void QueueSectionFiles(LPCSTR section, LPCSTR sourceDir, LPCSTR destDir);
void AddBillboard(LPCSTR dll, UINT dialogId, LPCSTR proc, LONG ticks);
BOOL PlaceProgress(INT x, INT y);
// Any positive result of the copy is fatal; 0 or below returns.
void RunCopyList(void);

// One file the install places: where it comes from and where it goes, whole,
// and whether a failure to place it fails the install.
struct PlannedFile {
  std::string source;
  std::string target;
  bool vital;
};
// The copy list's entries in the order queued: the paths the toolkit joined
// and the vital rule of the file record, read once.
std::vector<PlannedFile> CopyListEntries(void);
