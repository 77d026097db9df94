#include "platform/dialogs/dialog_failure.h"

#include <string>

#include "platform/dialogs/dialog_ids.h"
#include "platform/dialogs/dialog_language.h"
#include "platform/setup-toolkit/language_resources.h"
#include "platform/setup-toolkit/stf_internal.h"

static void Hide(HWND hdlg, int id) {
  HWND control = GetDlgItem(hdlg, id);
  if (control != nullptr) ShowWindow(control, SW_HIDE);
}

static void ShowText(HWND hdlg, int id, const std::wstring& text) {
  if (text.empty()) {
    Hide(hdlg, id);
  } else {
    SetDlgItemTextW(hdlg, id, text.c_str());
  }
}

// Sentence part of the latest failure in the language of the windows: the
// toolkit decides which text and its inserts (names, the system's own words).
static std::wstring Sentence(int part) {
  std::wstring inserts[3];
  UINT id = 0;
  for (int i = 0; i < 3; ++i) {
    char insert[2048] = "";
    id = StfFailureSentence(part, i, insert, sizeof insert);
    inserts[i] = StfWideText(insert);
  }
  if (id == 0) return std::wstring();
  return StfFillText(DialogText(id), inserts, 3);
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
  std::wstring cause = Sentence(0);
  const std::wstring reason = Sentence(1);
  if (!reason.empty()) cause += L" " + reason;
  ShowText(hdlg, IDC_CAUSE, known ? cause : std::wstring());
  ShowText(hdlg, IDC_ADVICE, known ? Sentence(2) : std::wstring());
  ShowLogPath(hdlg, log);
}
