// The uninstaller: removes the driver that setup installed (its service, its
// file, the uninstall entry and the product's folder), on the same toolkit,
// dialogs, log and switches as setup.
#pragma once

#include "platform/startup.h"
#include "platform/win32.h"

// The entry routine; it ends the process through the run-time exit.
int UninstallMain(LPSTR lpCmdLine);

// Is the driver installed: its uninstall entry or a live service?
bool DriverInstalled(void);

// Stops and deletes the driver service; *pending when it stays loaded until
// the next boot. A failure is logged and fatal.
void RemoveDriverService(bool* pending);
// Deletes the driver file, or has Windows delete it at the next boot while it
// is loaded (*pending). A failure is logged and fatal.
void RemoveDriverFile(bool* pending);
// Removes the uninstall entry and the product's folder (files in use, such as
// this program, go at the next boot). A failure is logged and fatal.
void RemoveUninstallRecord(void);

// Dialogs: the confirmation (a refusal ends the run), the driver not being
// installed, and the removal done, with the restart question when one is
// needed (true: restart now).
void ConfirmRemoval(void);
void ReportNotInstalled(void);
bool ReportRemoved(bool restartNeeded);
