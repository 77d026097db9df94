// The uninstaller: removes the driver that setup installed (its service, its
// file, the files and folder the uninstall entry records, the event source,
// then the entry), on the same toolkit, dialogs, log and switches as setup.
// The entry goes last, so that a removal stopped at any step is finished by
// the next run, which the entry still offers.
#pragma once

#include <string>
#include <vector>

#include "platform/startup.h"
#include "platform/win32.h"
#include "support/removal_plan.h"

// The entry routine: the removal, or with /verify the driver's check (atBoot:
// the one the install left for the start of Windows). Returns the exit code.
int UninstallMain(LPSTR lpCmdLine, bool atBoot = false);

// One removal: what it may take away, what an earlier removal had done, and
// whether something waits for the next boot.
struct UninstallRun {
  RemovalPlan plan;
  std::string done;      // the steps this run has done, as the entry records them
  bool pending = false;  // the driver stays loaded, or a file or folder goes at the next boot
  std::vector<std::string> waiting;  // recorded files Windows deletes at the next boot
};

// Is the driver installed: its uninstall entry or a live service?
bool DriverInstalled(void);

// Stops and deletes the driver service; *pending when it stays loaded until
// the next boot. A failure is logged and fatal.
void RemoveDriverService(bool* pending);
// Deletes the driver file, or has Windows delete it at the next boot while it
// is loaded (*pending). A failure is logged and fatal.
void RemoveDriverFile(bool* pending);

// Reads the entry into the run's plan (its warnings go to the log) and the
// steps an earlier removal had done.
void ReadUninstallEntry(UninstallRun* run);
// Records a step as done in the entry, for a removal that is stopped after it.
void MarkRemovalStep(UninstallRun* run, const char* step);
// The recorded files that are still the files setup placed, then the
// recorded folders once empty (at the next boot while a file of ours in one
// is in use). A failure is logged and fatal.
void RemoveRecordedFiles(UninstallRun* run);
void RemoveRecordedFolders(UninstallRun* run);
// The entry itself, last. A failure is logged and fatal.
void RemoveUninstallEntry(void);

// Dialogs: the confirmation (a refusal ends the run), the driver not being
// installed, and the removal done, with the restart question when one is
// needed (true: restart now).
void ConfirmRemoval(void);
void ReportNotInstalled(void);
bool ReportRemoved(bool restartNeeded);
