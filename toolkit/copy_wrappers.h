// Guarded wrappers for the wait cursor, the copy list, the billboard, the
// progress gauge and the copy run: a failure never comes back to the caller.
#pragma once

#include "platform/win32.h"

HCURSOR BeginWaitCursor(void);
void EndWaitCursor(HCURSOR previous);
BOOL EmptyCopyList(void);
void QueueSectionFiles(LPCSTR section, LPCSTR sourceDir, LPCSTR destDir);
void AddBillboard(LPCSTR dll, UINT dialogId, LPCSTR proc, LONG ticks);
BOOL PlaceProgress(INT x, INT y);
// Any positive result of the copy is fatal; 0 or below returns.
void RunCopyList(void);
