// What our toolkit offers for unattended runs beyond the operations the
// program imports. Looked up by name at run time, so that setup still starts
// with a toolkit that lacks them; each then behaves as without them.
#pragma once

#include "platform/win32.h"
#include "support/install_record.h"

// An export of a toolkit library the program has loaded, or null.
FARPROC ToolkitExport(LPCSTR library, LPCSTR name);
// The same of the common library, MSCOMSTF.dll.
FARPROC CommonExport(LPCSTR name);
// A start-up failure the program would report in a box: TRUE when the toolkit
// has told it (log, standard error, and its own box in the language of the
// windows when a person is to see one).
BOOL ToldWithoutBox(LPCSTR text);
// The start-up failure box ("Error", stop icon) for a person, the toolkit's
// when it has one; in an unattended run the toolkit writes the text down
// instead, since nobody would close the box.
void ReportStartupFailure(LPCSTR text);
// Windows' signature check of a file of the disk (a bare name: beside the
// program) before it is installed: false when the toolkit refused it and has
// logged why, or has no such check.
bool DiskFileIntact(LPCSTR file);
// What the disk's manifest says a file of the disk (a bare name) is: its size
// and SHA-256 in *expected. False when the manifest does not list it, or the
// toolkit cannot say.
bool DiskFileListed(LPCSTR file, PlacedFile* expected);
// The toolkit's lines of the disk's checks made before the log was open.
void LogEarlyToolkitChecks(void);
