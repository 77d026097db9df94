// What the toolkit asks the dialog library about the dialogs without showing
// them: the answer in quiet mode, and what an answer means for the setup.
#include "platform/dialogs/dialog_events.h"
#include "platform/dialogs/dialog_exports.h"
#include "platform/dialogs/dialog_ids.h"
#include "platform/setup-toolkit/stf_internal.h"

// The install acts on the sum of a word's first two codes (signed 8-bit),
// so the outcome is read the same way.
static bool HasEventSum(LPCSTR word, int sum) {
  if (word == nullptr || word[0] == '\0') return false;
  return static_cast<signed char>(word[0]) + static_cast<signed char>(word[1]) == sum;
}

static const int kSumExit = EVENT_SUM_EXIT;
static const int kSumRestart = EVENT_SUM_RESTART;
static const int kSumContinue = EVENT_SUM_CONTINUE;

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

LPCSTR STFAPI DialogOutcome(UINT idDlg, LPCSTR szEvent) {
  switch (idDlg) {
    case DLG_FATAL:
      return "FAILED (a setup error ended the installation)";
    case DLG_REGISTRATION_FAILED:
      return "FAILED (the driver service could not be registered)";
    case DLG_QUIT:
      return HasEventSum(szEvent, kSumExit) ? "CANCELLED" : nullptr;
    case DLG_RESTART:
    case DLG_REMOVED_RESTART:
      return HasEventSum(szEvent, kSumRestart) ? "SUCCESS, restarting Windows"
                                               : "SUCCESS, restart pending";
    case DLG_REMOVED:
    case DLG_INSTALLED:
      return "SUCCESS";
    case DLG_REMOVE_CONFIRM:
      return HasEventSum(szEvent, kSumContinue) ? nullptr : "CANCELLED";
    case DLG_NOT_INSTALLED:
      return "NOT INSTALLED (the driver is not installed; nothing was removed)";
    default:
      return nullptr;
  }
}

}  // extern "C"
