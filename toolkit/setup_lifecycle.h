// Opening and ending the setup (frame window and install engine), dressing
// the frame, and the one fatal-error path that every guarded call ends in.
#pragma once

#include "contract/fatal_path.h"
#include "platform/win32.h"

extern INT FrameOpenResult;  // positive once frame and engine are open; never reset
extern INT FatalErrorShown;  // set the first time the fatal path runs; never reset

// Positive: open; 0: not opened (or opened before); -1: the frame asked for nothing to end.
INT InitializeSetup(LPSTR cmdLine);
INT OpenFrame(LPSTR cmdLine);
INT OpenInstallEngine(void);
// Opens the setup, binds the registry entry points and dresses the frame with
// the dialog library's bitmap and the title. False when the setup could not
// start: the failure has been reported ("Cannot initialize setup!" or
// "Cannot initialize registry!") and whatever was opened ended again.
bool StartSetup(LPSTR cmdLine, LPCSTR title);
// Closes frame, install engine and registry binding; harmless when not open.
void EndSetup(void);


// What the fatal path undoes before it reports: the program's changes so far.
// It runs at most once; null forgets it (the changes are final).
void SetFailureUndo(void (*undo)(void));
// Runs the undo now, when one is set, and forgets it.
void RunFailureUndo(void);

void SetFrameBitmap(LPCSTR dll, UINT bitmapId);
void SetFrameAbout(LPCSTR text, LPCSTR caption);
void SetFrameTitle(LPCSTR title);
void OpenInfFile(LPCSTR path);
