// The dialogs of the install and how each event word steers it.
#include "installer/installer.h"
#include "platform/dialogs/dialog_ids.h"
#include "platform/process_exit.h"
#include "toolkit/dialogs.h"
#include "toolkit/setup_lifecycle.h"

// The event sum of the dialog's answer; the dialog stays open.
static UINT ShowStepDialog(UINT dialogId, LPCSTR proc) {
  char event[16] = {0};
  RunDialog(DIALOG_LIBRARY, dialogId, proc, event, sizeof event - 1);
  return EventSum(event);
}

void QuitSetup(void) {
  CloseAllDialogs();
  EndSetup();
  ExitProgram(0);
}

void ShowWelcome(void) {
  for (;;) {
    CloseAllDialogs();
    UINT sum = ShowStepDialog(DLG_WELCOME, INFO_DIALOG_PROC);
    if (sum == kEventContinue) break;
    if (sum == kEventCancel || sum == kEventExit) ConfirmQuit();
  }
  CloseDialogs(1);
}

void ConfirmQuit(void) {
  for (;;) {
    UINT sum = ShowStepDialog(DLG_QUIT, QUIT_DIALOG_PROC);
    if (sum == kEventCancel || sum == kEventContinue) break;
    if (sum == kEventExit) QuitSetup();
  }
  CloseDialogs(1);
}

void ReportNoWindowsDir(void) {
  for (;;) {
    CloseAllDialogs();
    UINT sum = ShowStepDialog(DLG_NO_WINDOWS_DIR, ERROR_DIALOG_PROC);
    if (sum == kEventCancel || sum == kEventContinue) break;
    if (sum == kEventExit) ConfirmQuit();
  }
  CloseDialogs(1);
}

RestartChoice AskRestart(void) {
  const bool restart = ShowStepDialog(DLG_RESTART, INFO_DIALOG_PROC) == kEventRestart;
  CloseDialogs(1);
  return restart ? RestartChoice::kRestart : RestartChoice::kDeclined;
}

void ReportInstalledAndRunning(void) {
  ShowStepDialog(DLG_INSTALLED, INFO_DIALOG_PROC);
  CloseDialogs(1);
}

void ReportRegistrationFailure(void) {
  ShowStepDialog(DLG_REGISTRATION_FAILED, INFO_DIALOG_PROC);
  QuitSetup();
}
