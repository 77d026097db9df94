// The process entry of uninstall.exe: the removal, or the check after the
// restart when Windows starts it as the service the install left
// (support/boot_check.h).
#include "platform/process_exit.h"
#include "support/boot_check.h"
#include "uninstaller/uninstaller.h"

static LPSTR commandTail = nullptr;
static int checkExitCode = 0;
static SERVICE_STATUS_HANDLE statusHandle = nullptr;

static void ReportServiceState(DWORD state) {
  SERVICE_STATUS status = {};
  status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
  status.dwCurrentState = state;
  status.dwControlsAccepted = 0;  // a check of seconds is not stopped half way
  status.dwWin32ExitCode = NO_ERROR;
  SetServiceStatus(statusHandle, &status);
}

static void WINAPI AnswerControl(DWORD) {}

static void WINAPI RunCheckService(DWORD, LPSTR*) {
  statusHandle = RegisterServiceCtrlHandlerA(kBootCheckService, AnswerControl);
  if (statusHandle == nullptr) return;
  ReportServiceState(SERVICE_RUNNING);
  // Gone before it checks: it runs once, whatever the check comes to.
  LPCSTR call = "";
  RemoveBootCheck(&call);
  checkExitCode = UninstallMain(commandTail, true);
  ReportServiceState(SERVICE_STOPPED);
}

int main() {
  RestrictLibrarySearch();
  commandTail = CommandTail(GetCommandLineA());
  if (lstrcmpiA(commandTail, kBootCheckTail) == 0) {
    static char name[64];
    lstrcpyA(name, kBootCheckService);
    SERVICE_TABLE_ENTRYA table[] = {{name, RunCheckService}, {nullptr, nullptr}};
    if (StartServiceCtrlDispatcherA(table)) ExitProgram(checkExitCode);
    // Not started as a service: the same switches typed by hand.
  }
  ExitProgram(UninstallMain(commandTail));
}
