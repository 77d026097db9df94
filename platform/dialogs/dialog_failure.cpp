#include "platform/dialogs/dialog_failure.h"

#include <string>

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

// The language's sentence around the path, "%s" standing for it; the path
// is ANSI, the sentence may hold any language's characters.
static void ShowLogPath(HWND hdlg, LPCSTR path) {
  WCHAR form[512] = L"";
  if (path[0] == '\0' || GetDlgItemTextW(hdlg, IDC_LOG, form, 512) == 0) {
    Hide(hdlg, IDC_LOG);
    return;
  }
  WCHAR widePath[MAX_PATH * 2] = L"";
  MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, MAX_PATH * 2);
  std::wstring text = form;
  const std::size_t at = text.find(L"%s");
  if (at != std::wstring::npos) text.replace(at, 2, widePath);
  SetDlgItemTextW(hdlg, IDC_LOG, text.c_str());
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
