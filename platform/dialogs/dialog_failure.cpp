#include "platform/dialogs/dialog_failure.h"

#include "platform/dialogs/dialog_ids.h"
#include "platform/setup-toolkit/stf_internal.h"

static void Hide(HWND hdlg, int id) {
  HWND control = GetDlgItem(hdlg, id);
  if (control != nullptr) ShowWindow(control, SW_HIDE);
}

static void ShowText(HWND hdlg, int id, LPCSTR text) {
  if (text[0] == '\0') {
    Hide(hdlg, id);
  } else {
    SetDlgItemTextA(hdlg, id, text);
  }
}

// The template's sentence around the path, "%s" standing for it.
static void ShowLogPath(HWND hdlg, LPCSTR path) {
  char form[256] = "";
  if (path[0] == '\0' || GetDlgItemTextA(hdlg, IDC_LOG, form, sizeof form) == 0) {
    Hide(hdlg, IDC_LOG);
    return;
  }
  char text[1024];  // what wsprintfA writes at most
  wsprintfA(text, form, path);
  SetDlgItemTextA(hdlg, IDC_LOG, text);
}

void ShowFailure(HWND hdlg) {
  if (GetDlgItem(hdlg, IDC_CAUSE) == nullptr) return;
  char what[2048] = "", advice[1024] = "", log[MAX_PATH * 2] = "";
  const bool known = StfFailureWords(what, sizeof what, advice, sizeof advice, log, sizeof log) != FALSE;
  if (known) {
    Hide(hdlg, IDC_NO_CAUSE_1);
    Hide(hdlg, IDC_NO_CAUSE_2);
  } else {
    Hide(hdlg, IDC_CAUSE_NOTE);
  }
  ShowText(hdlg, IDC_CAUSE, what);
  ShowText(hdlg, IDC_ADVICE, advice);
  ShowLogPath(hdlg, log);
}
