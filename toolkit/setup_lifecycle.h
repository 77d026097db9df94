// Opening and ending the setup (frame window and install engine), dressing
// the frame, and the one fatal-error path that every guarded call ends in.
#pragma once

#include "support/fatal_path.h"
#include "platform/win32.h"

// What opening the setup came to; the values are the frame's own answers
// (InitializeFrame: -1, 0, positive).
enum SetupOpening : INT {
  kSetupNothingToEnd = -1,  // the frame asked for nothing to end (it showed its help)
  kSetupNotOpened = 0,      // not opened, or opened before
  kSetupOpened = 1,         // frame and install engine open
};

extern SetupOpening SetupOpenState;  // kSetupOpened once open; never reset
extern INT FatalErrorShown;  // set the first time the fatal path runs; never reset

SetupOpening InitializeSetup(LPSTR cmdLine);
INT OpenFrame(LPSTR cmdLine);
INT OpenInstallEngine(void);
// Opens the setup, binds the registry entry points and dresses the frame with
// the dialog library's bitmap and the title. False when the setup could not
// start: the failure has been reported ("Cannot initialize setup!" or
// "Cannot initialize registry!") and whatever was opened ended again.
bool StartSetup(LPSTR cmdLine, LPCSTR title);
// Closes frame, install engine and registry binding; harmless when not open.
void EndSetup(void);
// The restart that ends the run did not start (GetLastError() says why): the
// toolkit makes the outcome a restart pending again.
void ReportRestartRefused(void);


// Makes the fatal path (support/fatal_path.h) show the error dialog and end
// the setup; InitializeSetup does it first.
void InstallSetupFatalPath(void);

// What the fatal path puts back before it reports: the program hands its run
// object once, before its first change, and the undo reads from it what is
// left to put back (nothing before the first change, nothing once final).
void SetFailureUndo(void (*undo)(void* run), void* run);
// Runs the undo over the run, when one is set.
void RunFailureUndo(void);

void SetFrameBitmap(LPCSTR dll, UINT bitmapId);
void SetFrameAbout(LPCSTR text, LPCSTR caption);
void SetFrameTitle(LPCSTR title);
void OpenInfFile(LPCSTR path);
