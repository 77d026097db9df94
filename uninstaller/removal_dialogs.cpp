// The uninstaller's dialogs and how their event words steer it.
#include "platform/dialogs/dialog_ids.h"
#include "platform/process_exit.h"
#include "toolkit/dialogs.h"
#include "toolkit/setup_lifecycle.h"
#include "uninstaller/uninstaller.h"

static UINT ShowDialog(UINT dialogId) {
  char event[16] = {0};
  RunDialog(DIALOG_LIBRARY, dialogId, INFO_DIALOG_PROC, event, sizeof event - 1);
  return EventSum(event);
}

void ConfirmRemoval(void) {
  for (;;) {
    CloseAllDialogs();
    UINT sum = ShowDialog(DLG_REMOVE_CONFIRM);
    if (sum == kEventContinue) break;
    if (sum == kEventCancel || sum == kEventExit) {
      CloseAllDialogs();
      EndSetup();
      ExitProgram(0);
    }
  }
  CloseDialogs(1);
}

void ReportNotInstalled(void) {
  CloseAllDialogs();
  ShowDialog(DLG_NOT_INSTALLED);
  CloseDialogs(1);
}

bool ReportRemoved(bool restartNeeded) {
  CloseAllDialogs();
  UINT sum = ShowDialog(restartNeeded ? DLG_REMOVED_RESTART : DLG_REMOVED);
  CloseDialogs(1);
  return restartNeeded && sum == kEventRestart;
}
