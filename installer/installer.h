// The install sequence: the plan, the checks, the dialog steps, the driver
// copy, the service registration, the uninstaller and the restart. The main
// sequence owns one run object and hands it to each step.
#pragma once

#include <string>
#include <vector>

#include "platform/startup.h"
#include "platform/win32.h"
#include "support/install_record.h"
#include "support/registry_entry.h"
#include "support/service_config.h"
#include "support/service_manager.h"
#include "support/windows_restart.h"
#include "toolkit/copy_wrappers.h"

// What the install will do, built once before anything is checked: the copy
// list of "System Files" as the toolkit built it, and the uninstaller's files
// from beside setup.exe into the product's folder. Every check and step reads
// its entries; none reads the INF's file section again.
struct InstallPlan {
  std::vector<PlannedFile> driverFiles;       // the copy list, in its order
  std::vector<PlannedFile> uninstallerFiles;  // in the order of UNINSTALLER_FILES
  std::string productDir;                     // ends in a backslash
};

// What this run changes on the machine, kept so that a failure can put it back
// and the end can tell whether anything changed at all.
struct InstallChangeRecord {
  bool copyPlaced = false;  // the copy ran and is not final: a failure undoes it
  bool final = false;       // the entry is written: nothing is undone any more
  bool undoing = false;     // a failure inside the undo does not start it again
  bool serviceCreated = false;       // CreateServiceA made it
  bool serviceStartChanged = false;  // an existing service was set to system start
  DWORD serviceStartBefore = 0;      // its start type before
  bool serviceRunning = false;       // the driver was running before this run
  // The service as the kept-driver step read it before the copy: the
  // registration does not ask for its settings and state again.
  bool serviceSeen = false;
  ServiceConfig serviceSeenConfig;
  bool folderCreated = false;        // the product's folder did not exist
  bool entryExisted = false;         // an uninstall entry was there before
  int filesCopied = 0;               // files the copy put in place
  std::vector<std::string> uninstallerPlaced;  // targets this run copied, in order
  std::vector<PlacedFile> uninstallerFiles;    // each of them as it lies there now
  // The copy's targets that are this product's: new where no file of that
  // name was before, or recorded by an earlier install as the file still there.
  std::vector<std::string> ownDriverFiles;
  RegistryKeyState eventSourceBefore;  // the event source's key before this run
  bool eventSourceRegistered = false;  // this run registered it
};

// How the run ends: decided once, at the end.
enum class RestartChoice {
  kNotNeeded,  // nothing changed and the driver runs (dialog 710)
  kDeclined,   // the user left the restart for later
  kRestart,    // Windows restarts
};

// The driver this run replaces, kept in the product's folder for the check
// after the restart (driver_keep.cpp).
struct KeptPrevious {
  bool kept = false;
  bool folderCreated = false;  // the product's folder was made for it
  PlacedFile file;             // the kept copy, as it lies in the product's folder
};

struct InstallRun {
  InstallPlan plan;
  InstallChangeRecord changes;
  KeptPrevious kept;
  RestartChoice restart = RestartChoice::kNotNeeded;
  ServiceManager services;  // the run's one connection to the service control manager
};

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);

// The plan from the open INF and SetupPaths; a copy list that cannot be built
// (a bad record, a name that would leave its folder) takes the fatal path.
InstallPlan PlanInstall(void);

// Dialog steps. Each returns when the user goes on; a confirmed quit ends the process.
void ShowWelcome(void);
void ConfirmQuit(void);
void ReportNoWindowsDir(void);
// kRestart or kDeclined, as the user answers dialog 700.
RestartChoice AskRestart(void);
// The end of a run that changed nothing, with the driver running: no restart.
void ReportInstalledAndRunning(void);
[[noreturn]] void ReportRegistrationFailure(void);
// Closes every dialog, ends the setup and exits with 0.
[[noreturn]] void QuitSetup(void);

// Refuses, before anything is changed, a driver image on the disk that this
// Windows cannot load (built for another machine); returns otherwise.
void EnsureDriverCanLoad(const InstallPlan& plan);

// Looks for every file the plan takes from the disk before anything changes;
// names all that are missing in one message and takes the fatal path. Notes
// the copy's targets that are this product's in the run's changes.
void CheckDiskFiles(InstallRun* run);
// Puts back what the run changed after the copy and is not final: the
// uninstaller, the service, the copied files; the log lists what was undone
// and what was left. Nothing when nothing is to be put back.
void UndoInstall(InstallRun* run);
void UndoUninstaller(InstallRun* run);
void UndoServiceRegistration(ServiceManager* services, InstallChangeRecord* changes);

// True unless the run changed nothing (no file, no service setting) while the
// driver runs and no earlier run left a change for the next boot.
bool RestartNeeded(const InstallChangeRecord& changes);

// The gauge and billboard of the copy; every failure ends the process inside.
void PrepareFileCopy(void);
void CopyAndRegisterDriver(InstallRun* run);

// Refuses, before anything is changed, an uninstaller or library beside
// setup.exe whose signature does not hold (the toolkit checks and logs).
void EnsureUninstallerIntact(const InstallPlan& plan);

// The uninstaller in the product's folder and its uninstall entry; a failure
// takes the fatal path with neither left behind.
void InstallUninstaller(InstallRun* run);
// The files an earlier install's entry records (none without an entry).
std::vector<PlacedFile> EarlierRecord(void);

// The driver this install replaces, kept for the check after the restart
// (driver_keep.cpp): kept at the start of the copy, dropped when the copy left
// the same file, taken back by the undo, recorded with the entry, and the
// check arranged once the install stands.
void KeepPreviousDriver(InstallRun* run);
void UndoKeptDriver(InstallRun* run);
void DropKeptIfUnchanged(InstallRun* run);
// The kept driver's two files as the entry records them; none when nothing
// is kept (a configuration file that cannot be read is left out, and said).
std::vector<PlacedFile> KeptDriverFiles(const KeptPrevious& kept, const std::string& dir);
void ArrangeDriverCheck(InstallRun* run, bool restartNeeded);

// 1 when the driver service exists afterwards with system start, 0 on any failure.
int RegisterDriverService(ServiceManager* services, InstallChangeRecord* changes);
