#include "toolkit/dialogs.h"

#include "support/guarded.h"
#include "contract/toolkit_api.h"
#include "platform/setup-toolkit/core/event_sum.h"
#include "platform/setup-toolkit/core/run_outcome.h"
#include "support/fatal_path.h"

UINT EventSum(LPCSTR word) { return stf::EventSum(word); }

// Both programs' dialogs: what nobody's answer is, and what an answer means
// for the run. An unattended restart only when the command line asked for
// one: it would lose the work of whoever is logged on.
static const STF_DIALOG_ANSWER kDialogAnswers[] = {
    {DLG_FATAL, "CONTINUE", nullptr, 0, stf::kOutcomeFailed, stf::kOutcomeFailed,
     "a setup error ended the installation"},
    {DLG_REGISTRATION_FAILED, "CONTINUE", nullptr, 0, stf::kOutcomeFailed, stf::kOutcomeFailed,
     "the driver service could not be registered"},
    {DLG_QUIT, "CONTINUE", nullptr, kEventExit, stf::kOutcomeCancelled, stf::kOutcomeUndecided,
     nullptr},
    {DLG_RESTART, "CONTINUE", "RESTART", kEventRestart, stf::kOutcomeRestarting,
     stf::kOutcomeRestartPending, nullptr},
    {DLG_REMOVED_RESTART, "CONTINUE", "RESTART", kEventRestart, stf::kOutcomeRestarting,
     stf::kOutcomeRestartPending, nullptr},
    {DLG_INSTALLED, "CONTINUE", nullptr, 0, stf::kOutcomeSucceeded, stf::kOutcomeSucceeded,
     nullptr},
    {DLG_REMOVED, "CONTINUE", nullptr, 0, stf::kOutcomeSucceeded, stf::kOutcomeSucceeded, nullptr},
    {DLG_REMOVE_CONFIRM, "CONTINUE", nullptr, kEventContinue, stf::kOutcomeUndecided,
     stf::kOutcomeCancelled, nullptr},
    {DLG_NOT_INSTALLED, "CONTINUE", nullptr, 0, stf::kOutcomeNotInstalled,
     stf::kOutcomeNotInstalled, "the driver is not installed; nothing was removed"},
};

void HandDialogAnswers(void) {
  if (!StfSetDialogAnswers(kDialogAnswers, sizeof kDialogAnswers / sizeof kDialogAnswers[0])) {
    FatalSetupError();
  }
}

INT PumpMessages(void) {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) FatalSetupError();
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}

void RunDialogEx(LPCSTR dll, UINT dialogId, LPCSTR proc, LPCSTR procDll, LONG procWord1,
                 LONG procWord2, LPSTR event, INT eventSize) {
  if (!FDoDialogExt(HwndFrame(), dll, dialogId, proc, procDll, procWord1, procWord2)) {
    FatalSetupError();
  }
  PumpMessages();
  ReadSymbolValue("DLGEVENT", event, eventSize);
}

void RunDialog(LPCSTR dll, UINT dialogId, LPCSTR proc, LPSTR event, INT eventSize) {
  RunDialogEx(dll, dialogId, proc, dll, 0, 0, event, eventSize);
}

void CloseDialogs(INT count) {
  Guarded<FKillNDialogs>(count);
  PumpMessages();
}

void CloseAllDialogs(void) {
  CloseDialogs(-1);
}

LPSTR ReadSymbolValue(LPCSTR name, LPSTR buffer, INT size) {
  if (name == nullptr || name[0] == '\0') FatalSetupError();
  if (CbGetSymbolValue(name, buffer, size) >= size) FailWithBufferOverflow();
  return buffer;
}
