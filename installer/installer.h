// The install sequence: main sequence, dialog steps, driver copy, service
// registration and restart.
#pragma once

#include <string>
#include <vector>

#include "platform/startup.h"
#include "platform/win32.h"
#include "support/install_record.h"
#include "support/registry_entry.h"
#include "support/windows_restart.h"

extern DWORD RestartRequested;  // set only by AskRestart, read once at the end

// What this run changes on the machine, kept so that a failure can put it back
// and the end can tell whether anything changed at all.
struct InstallChangeRecord {
  bool serviceCreated;       // CreateServiceA made it
  bool serviceStartChanged;  // an existing service was set to system start
  DWORD serviceStartBefore;  // its start type before
  bool serviceRunning;       // the driver was running before this run
  bool folderCreated;        // the product's folder did not exist
  bool entryExisted;         // an uninstall entry was there before
  int filesCopied;           // files the copy put in place
  int uninstallerFilesCopied;  // into the product's folder, in the order of UNINSTALLER_FILES
  // The copy's targets that are this product's: new where no file of that
  // name was before, or recorded by an earlier install as the file still there.
  std::vector<std::string> ownDriverFiles;
  RegistryKeyState eventSourceBefore;  // the event source's key before this run
  bool eventSourceRegistered;          // this run registered it
};
extern InstallChangeRecord Changes;


int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);

// The folder of setup.exe, ending in a backslash, into a buffer of
// SETUP_PATH_SIZE; false when it does not fit.
bool ReadProgramDir(LPSTR dir);

// Dialog steps. Each returns when the user goes on; a confirmed quit ends the process.
void ShowWelcome(void);
void ConfirmQuit(void);
void ReportNoWindowsDir(void);
void AskRestart(void);
// The end of a run that changed nothing, with the driver running: no restart.
void ReportInstalledAndRunning(void);
[[noreturn]] void ReportRegistrationFailure(void);
// Closes every dialog, ends the setup and exits with 0.
[[noreturn]] void QuitSetup(void);

// Refuses, before anything is changed, a driver image on the disk that this
// Windows cannot load (built for another machine); returns otherwise.
void EnsureDriverCanLoad(void);

// Looks for every file the install takes from the disk (the copy list's and
// the uninstaller's) before anything changes; names all that are missing in
// one message and takes the fatal path.
void CheckDiskFiles(void);
// Puts back what the run changed after the copy: the uninstaller, the
// service, the copied files; the log lists what was undone and what was left.
void UndoInstall(void);
void UndoUninstaller(void);
void UndoServiceRegistration(void);

// True unless the run changed nothing (no file, no service setting) while the
// driver runs and no earlier run left a change for the next boot.
bool RestartNeeded(void);

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
// The files an earlier install's entry records (none without an entry).
std::vector<PlacedFile> EarlierRecord(void);

// The driver this install replaces, kept for the check after the restart
// (driver_keep.cpp): kept before the copy, taken back by the undo, and the
// check arranged once the install stands.
void KeepPreviousDriver(void);
void UndoKeptDriver(void);
void ArrangeDriverCheck(bool restartNeeded);

// 1 when the driver service exists afterwards with system start, 0 on any failure.
int RegisterDriverService(void);
