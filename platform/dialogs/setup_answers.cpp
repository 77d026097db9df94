// What the toolkit asks the dialog library about the dialogs without showing
// them: the answer when nobody answers (quiet or passive mode), and what an
// answer means for the setup.
#include "platform/dialogs/dialog_events.h"
#include "platform/dialogs/dialog_exports.h"
#include "platform/dialogs/dialog_ids.h"
#include "platform/setup-toolkit/stf_internal.h"

extern "C" {

LPCSTR STFAPI QuietEventWord(UINT idDlg, BOOL fRestart) {
  // A restart only when the command line asked for one: an unattended
  // reboot would lose the work of whoever is logged on.
  if (idDlg == DLG_RESTART || idDlg == DLG_REMOVED_RESTART) {
    return fRestart ? kWordRestart : kWordContinue;
  }
  // Everything else goes on, and the quit confirmation resumes.
  return kWordContinue;
}

INT STFAPI DialogOutcome(UINT idDlg, UINT eventSum, LPCSTR* detail) {
  *detail = nullptr;
  switch (idDlg) {
    case DLG_FATAL:
      *detail = "a setup error ended the installation";
      return stf::kOutcomeFailed;
    case DLG_REGISTRATION_FAILED:
      *detail = "the driver service could not be registered";
      return stf::kOutcomeFailed;
    case DLG_QUIT:
      return eventSum == EVENT_SUM_EXIT ? stf::kOutcomeCancelled : stf::kOutcomeUndecided;
    case DLG_RESTART:
    case DLG_REMOVED_RESTART:
      return eventSum == EVENT_SUM_RESTART ? stf::kOutcomeRestarting : stf::kOutcomeRestartPending;
    case DLG_REMOVED:
    case DLG_INSTALLED:
      return stf::kOutcomeSucceeded;
    case DLG_REMOVE_CONFIRM:
      return eventSum == EVENT_SUM_CONTINUE ? stf::kOutcomeUndecided : stf::kOutcomeCancelled;
    case DLG_NOT_INSTALLED:
      *detail = "the driver is not installed; nothing was removed";
      return stf::kOutcomeNotInstalled;
    default:
      return stf::kOutcomeUndecided;
  }
}

}  // extern "C"
