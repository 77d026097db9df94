// The dialog procedures that the toolkit looks up by name. The answering
// dialogs behave alike: which dialog it is only changes its template.
#include "platform/dialogs/dialog_events.h"
#include "platform/dialogs/dialog_exports.h"
#include "platform/dialogs/dialog_failure.h"
#include "platform/dialogs/dialog_language.h"
#include "platform/dialogs/dialog_layout.h"
#include "platform/setup-toolkit/language_resources.h"

// A text about to be drawn, in the language's reading order; the colours
// stay the dialog's own (FALSE).
static INT_PTR ReadingOrder(WPARAM dc) {
  if (RightToLeft()) StfReadFromRight(reinterpret_cast<HDC>(dc));
  return FALSE;
}

// The toolkit creates every dialog with its number as the init parameter.
static UINT DialogOf(LPARAM lParam) { return static_cast<UINT>(lParam); }

static INT_PTR AnsweringDialogProc(HWND hdlg, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      ShowDialogTexts(hdlg, DialogOf(lParam));
      ShowFailure(hdlg);
      FitButtons(hdlg);
      FitTexts(hdlg);
      CentreOnScreen(hdlg);
      ShowTemplateIcon(hdlg);
      // FALSE keeps the focus on the default button instead of the first tab stop.
      return FocusDefaultButton(hdlg) ? FALSE : TRUE;
    case WM_COMMAND: {
      // Esc arrives here as IDCANCEL even where no button has that id.
      if (HIWORD(wParam) != BN_CLICKED) return FALSE;
      LPCSTR word = EventWordOfButton(LOWORD(wParam));
      if (word == nullptr) return FALSE;
      ReportEvent(hdlg, word);
      return TRUE;
    }
    case WM_CLOSE:
      ReportEvent(hdlg, kWordCancel);
      return TRUE;
    case WM_CTLCOLORSTATIC:
      return ReadingOrder(wParam);
    case WM_DESTROY:
      ForgetAnswer(hdlg);
      return FALSE;
    default:
      return FALSE;
  }
}

// The billboard only informs: it has nothing to focus, answers nothing and cannot
// be closed by the user; the copy engine removes it.
static INT_PTR BillboardProc(HWND hdlg, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      ShowDialogTexts(hdlg, DialogOf(lParam));
      FitTexts(hdlg);
      CentreOnScreen(hdlg);
      return FALSE;
    case WM_CLOSE:
      return TRUE;
    case WM_COMMAND:
      return LOWORD(wParam) == IDCANCEL ? TRUE : FALSE;
    case WM_CTLCOLORSTATIC:
      return ReadingOrder(wParam);
    default:
      return FALSE;
  }
}

extern "C" {

// Welcome (100), restart question (700), registration failure (900).
INT_PTR CALLBACK FInfoDlgProc(HWND hdlg, UINT message, WPARAM wParam, LPARAM lParam) {
  return AnsweringDialogProc(hdlg, message, wParam, lParam);
}

// Fatal error (400), Windows directory unreadable (6400).
INT_PTR CALLBACK FInfo0DlgProc(HWND hdlg, UINT message, WPARAM wParam, LPARAM lParam) {
  return AnsweringDialogProc(hdlg, message, wParam, lParam);
}

// Quit confirmation (200).
INT_PTR CALLBACK FQuitDlgProc(HWND hdlg, UINT message, WPARAM wParam, LPARAM lParam) {
  return AnsweringDialogProc(hdlg, message, wParam, lParam);
}

// Billboard (5000), shown by the copy engine while it copies.
INT_PTR CALLBACK FModelessDlgProc(HWND hdlg, UINT message, WPARAM wParam, LPARAM lParam) {
  return BillboardProc(hdlg, message, wParam, lParam);
}

}  // extern "C"
