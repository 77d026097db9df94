// The check the install leaves for the next start of Windows: a service of
// its own process, started by Windows at boot as LocalSystem before anybody
// logs on, that runs the uninstaller in the product's folder as
//   "<folder>\uninstall.exe" /quiet /verify /restore
// and removes itself before it checks, so that it runs once whatever happens.
#pragma once

#include <string>

#include "platform/win32.h"

extern const char kBootCheckService[];  // the service's name
extern const char kBootCheckTail[];     // the switches it runs with

// The service's command line for the uninstaller in productDir (ending in a backslash).
std::string BootCheckCommand(const std::string& productDir);

// Registers the check (again, where one is left from an earlier install)
// through the run's connection to the service control manager (nullptr: it
// could not be made, and GetLastError() says why). ERROR_SUCCESS, or the error
// of the call named in *call.
DWORD ArrangeBootCheck(SC_HANDLE manager, const std::string& productDir, LPCSTR* call);
// Disables and deletes it; ERROR_SUCCESS also where there is none.
DWORD RemoveBootCheck(LPCSTR* call);
// Is a check still waiting for the next start?
bool BootCheckPending(void);
