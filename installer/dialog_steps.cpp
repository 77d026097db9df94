// The dialogs of the install and how each event word steers it.
#include "installer/installer.h"
#include "platform/process_exit.h"
#include "toolkit/dialogs.h"
#include "toolkit/setup_lifecycle.h"

static const char kDialogLibrary[] = "mscuistf.dll";

static UINT ShowStepDialog(UINT dialogId, LPCSTR proc, LPSTR event, INT eventSize) {
  RunDialog(kDialogLibrary, dialogId, proc, 0, 0, event, eventSize);
  return EventSum(event);
}

void QuitSetup(void) {
  CloseAllDialogs();
  EndSetup();
  ExitProgram(0);
}

void ShowWelcome(void) {
  char event[16] = {0};
  for (;;) {
    CloseAllDialogs();
    UINT sum = ShowStepDialog(100, "FInfoDlgProc", event, 15);
    if (sum == kEventContinue) break;
    if (sum == kEventCancel || sum == kEventExit) ConfirmQuit();
  }
  CloseDialogs(1);
}

void ConfirmQuit(void) {
  char event[16] = {0};
  for (;;) {
    UINT sum = ShowStepDialog(200, "FQuitDlgProc", event, 15);
    if (sum == kEventCancel || sum == kEventContinue) break;
    if (sum == kEventExit) QuitSetup();
  }
  CloseDialogs(1);
}

void ReportNoWindowsDir(void) {
  char event[16] = {0};
  for (;;) {
    CloseAllDialogs();
    UINT sum = ShowStepDialog(6400, "FInfo0DlgProc", event, 15);
    if (sum == kEventCancel || sum == kEventContinue) break;
    if (sum == kEventExit) ConfirmQuit();
  }
  CloseDialogs(1);
}

void AskRestart(void) {
  char event[16] = {0};
  if (ShowStepDialog(700, "FInfoDlgProc", event, 15) == kEventRestart) RestartRequested = 1;
  CloseDialogs(1);
}

void ReportInstalledAndRunning(void) {
  char event[16] = {0};
  ShowStepDialog(710, "FInfoDlgProc", event, 15);
  CloseDialogs(1);
}

void ReportRegistrationFailure(void) {
  char event[20] = {0};
  ShowStepDialog(900, "FInfoDlgProc", event, 15);
  QuitSetup();
}
