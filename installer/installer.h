// The install sequence: main sequence, dialog steps, driver copy, service
// registration and restart.
#pragma once

#include "platform/win32.h"

extern HINSTANCE AppInstance;
extern DWORD RestartRequested;  // set only by AskRestart, read once at the end

// Run-time start-up: the command tail behind the program name, and the show state.
LPSTR CommandTail(LPSTR commandLine);
int StartupShowState(void);

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);

// Dialog steps. Each returns when the user goes on; a confirmed quit ends the process.
void ShowWelcome(void);
void ConfirmQuit(void);
void ReportNoWindowsDir(void);
void AskRestart(void);
[[noreturn]] void ReportRegistrationFailure(void);
// Closes every dialog, ends the setup and exits with 0.
[[noreturn]] void QuitSetup(void);

// Refuses, before anything is changed, a driver image on the disk that this
// Windows cannot load (built for another machine); returns otherwise.
void EnsureDriverCanLoad(void);

// Driver copy; every failure ends the process inside.
void PrepareFileCopy(void);
void BuildCopyList(void);
void SetUpCopyProgress(void);
void CopyAndRegisterDriver(void);

// 1 when the driver service exists afterwards with system start, 0 on any failure.
int RegisterDriverService(void);
// 1 when Windows accepted the reboot request.
int RestartWindows(void);
