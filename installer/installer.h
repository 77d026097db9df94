// The install sequence: main sequence, dialog steps, driver copy, service
// registration and restart.
#pragma once

#include "platform/startup.h"
#include "platform/win32.h"
#include "support/windows_restart.h"

extern HINSTANCE AppInstance;
extern DWORD RestartRequested;  // set only by AskRestart, read once at the end


int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);

// The folder of setup.exe, ending in a backslash, into a buffer of
// SETUP_PATH_SIZE; false when it does not fit.
bool ReadProgramDir(LPSTR dir);

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

// Refuses, before anything is changed, an uninstaller or library beside
// setup.exe whose signature does not hold (the toolkit checks and logs).
void EnsureUninstallerIntact(void);

// The uninstaller in the product's folder and its uninstall entry; a failure
// takes the fatal path with neither left behind.
void InstallUninstaller(void);

// 1 when the driver service exists afterwards with system start, 0 on any failure.
int RegisterDriverService(void);
