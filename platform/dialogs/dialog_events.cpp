#include "platform/dialogs/dialog_events.h"

#include "platform/dialogs/dialog_ids.h"
#include "platform/dialogs/dialog_language.h"
#include "platform/dialogs/dialog_report.h"
#include "platform/dialogs/text_ids.h"
#include "platform/setup-toolkit/language_resources.h"
#include "platform/setup-toolkit/stf_internal.h"

const char kWordContinue[] = "CONTINUE";
const char kWordCancel[] = "CANCEL";
const char kWordExit[] = "EXIT";
const char kWordRestart[] = "RESTART";

// Set on a dialog once the toolkit has taken its answer.
static const char kAnsweredProp[] = "MlxDialogAnswered";

LPCSTR EventWordOfButton(int id) {
  switch (id) {
    case IDC_CONTINUE:
      return kWordContinue;
    case IDC_CANCEL:
      return kWordCancel;
    case IDC_EXIT:
      return kWordExit;
    case IDC_RESTART:
      return kWordRestart;
    default:
      return nullptr;
  }
}

void ReportEvent(HWND hdlg, LPCSTR word) {
  if (GetPropA(hdlg, kAnsweredProp) != nullptr) return;
  if (FReturnDialogEvent(hdlg, word)) {
    if (!SetPropA(hdlg, kAnsweredProp, reinterpret_cast<HANDLE>(1)))
      ReportProblem(hdlg, "cannot mark the dialog as answered", GetLastError());
    return;
  }
  // The toolkit does not know this window, so nobody waits for the answer:
  // tell the developer, and the user, instead of leaving a dead button.
  DWORD error = GetLastError();
  char what[1024];  // what wsprintfA writes at most
  wsprintfA(what, "the setup toolkit did not accept the event \"%s\"", word);
  ReportProblem(hdlg, what, error);
  char text[1024];
  wsprintfA(text,
            "Setup could not act on your choice: the setup toolkit did not accept the event "
            "\"%s\" of dialog %u (error %lu).",
            word, DialogNumber(hdlg), static_cast<unsigned long>(error));
  StfShowBox(hdlg, StfWideText(text).c_str(), DialogText(IDS_CAPTION_ERROR).c_str(),
             MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

void ForgetAnswer(HWND hdlg) {
  RemovePropA(hdlg, kAnsweredProp);
}
