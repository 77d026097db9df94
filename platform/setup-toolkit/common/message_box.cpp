// The toolkit's own message box. Windows' box names its buttons in the
// language of Windows, which need not be the language of the windows: this
// one takes the words from the language's file, and keeps the rest of
// Windows' box (icon, sound, default button, what Esc does, task-modal).
#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

#include "box_buttons.h"
#include "platform/setup-toolkit/common/common_state.h"
#include "platform/setup-toolkit/language_resources.h"

namespace {

// A button's words in the language's file, and its English.
struct Words {
  UINT text;
  LPCWSTR english;
};

Words WordsOf(stf::BoxAnswer button) {
  switch (button) {
    case stf::kBoxCancel:
      return {IDS_STF_BOX_CANCEL, L"Cancel"};
    case stf::kBoxYes:
      return {IDS_STF_BOX_YES, L"&Yes"};
    case stf::kBoxNo:
      return {IDS_STF_BOX_NO, L"&No"};
    case stf::kBoxRetry:
      return {IDS_STF_BOX_RETRY, L"&Retry"};
    default:
      return {IDS_STF_BOX_OK, L"OK"};
  }
}

LPCSTR IconOf(UINT style) {
  switch (style & MB_ICONMASK) {
    case MB_ICONHAND:
      return IDI_HAND;
    case MB_ICONQUESTION:
      return IDI_QUESTION;
    case MB_ICONEXCLAMATION:
      return IDI_EXCLAMATION;
    case MB_ICONASTERISK:
      return IDI_ASTERISK;
    default:
      return nullptr;
  }
}

struct Box {
  std::wstring text, caption;
  UINT style;
  stf::BoxButtons buttons;
  bool rightToLeft;
};

// Windows' own box numbers its text 0xFFFF and its icon 20: tools that read
// a box by its controls find ours the same way.
const int kTextId = 0xFFFF;
const int kIconId = 20;

bool Has(const Box& box, int id) {
  for (int i = 0; i < box.buttons.count; ++i) {
    if (box.buttons.buttons[i] == id) return true;
  }
  return false;
}

HWND AddChild(HWND box, LPCWSTR cls, const std::wstring& text, DWORD style, int id) {
  HWND child = CreateWindowExW(0, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, box,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleA("MSCOMSTF.dll"), nullptr);
  if (child == nullptr)
    StfLogError("Cannot make a part of a message box (CreateWindowExW)", GetLastError());
  if (child != nullptr) SendMessageW(child, WM_SETFONT, SendMessageW(box, WM_GETFONT, 0, 0), FALSE);
  return child;
}

// As wide as it is drawn, within width (right_to_left.h).
SIZE Measure(HWND box, const std::wstring& text, int width, UINT flags) {
  HDC dc = GetDC(box);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(box, WM_GETFONT, 0, 0)));
  const int slack = StfMarkSlack(dc, text);
  RECT need = {0, 0, width > 0 ? width - slack : 0, 0};
  DrawTextW(dc, text.c_str(), -1, &need, DT_CALCRECT | flags);
  SelectObject(dc, old);
  ReleaseDC(box, dc);
  return {need.right - need.left + slack, need.bottom - need.top};
}

// Icon and text side by side, the buttons centred under them, the whole box
// centred on the screen, in dialog units of the language's font.
void LayOut(HWND hwnd, const Box& box) {
  RECT u = {7, 7, 50, 14};  // margin, gap, button width, button height
  MapDialogRect(hwnd, &u);
  RECT wide = {278, 0, 4, 0};  // the text's widest, a button's padding
  MapDialogRect(hwnd, &wide);
  const int icon = IconOf(box.style) ? GetSystemMetrics(SM_CXICON) : 0;
  const SIZE text = Measure(hwnd, box.text, wide.left, DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
  const int textLeft = u.left + (icon ? icon + u.top : 0);
  const int body = std::max<int>(text.cy, icon);
  SetWindowPos(GetDlgItem(hwnd, kTextId), nullptr, textLeft, u.left + (body - text.cy) / 2, text.cx,
               text.cy, SWP_NOZORDER);
  if (icon)
    SetWindowPos(GetDlgItem(hwnd, kIconId), nullptr, u.left, u.left, icon, icon, SWP_NOZORDER);

  int widths[3], row = 0;
  for (int i = 0; i < box.buttons.count; ++i) {
    WCHAR label[64];
    GetDlgItemTextW(hwnd, box.buttons.buttons[i], label, 64);
    widths[i] = std::max<int>(u.right, Measure(hwnd, label, 0, DT_SINGLELINE).cx + 2 * wide.right);
    row += widths[i] + (i ? u.top : 0);
  }
  const int width = std::max(textLeft + text.cx + u.left, row + 2 * u.left);
  int x = (width - row) / 2;
  const int y = u.left + body + u.top;
  for (int i = 0; i < box.buttons.count; ++i) {
    SetWindowPos(GetDlgItem(hwnd, box.buttons.buttons[i]), nullptr, x, y, widths[i], u.bottom,
                 SWP_NOZORDER);
    x += widths[i] + u.top;
  }
  RECT frame = {0, 0, width, y + u.bottom + u.left};
  AdjustWindowRectEx(&frame, GetWindowLongW(hwnd, GWL_STYLE), FALSE,
                     GetWindowLongW(hwnd, GWL_EXSTYLE));
  const int w = frame.right - frame.left, h = frame.bottom - frame.top;
  SetWindowPos(hwnd, nullptr, std::max(0, (GetSystemMetrics(SM_CXSCREEN) - w) / 2),
               std::max(0, (GetSystemMetrics(SM_CYSCREEN) - h) / 2), w, h, SWP_NOZORDER);
}

INT_PTR CALLBACK BoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const Box* box = reinterpret_cast<const Box*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      box = reinterpret_cast<const Box*>(lParam);
      SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
      SetWindowTextW(hwnd, StfCaptionText(box->caption, box->rightToLeft).c_str());
      HWND text = AddChild(hwnd, L"STATIC", box->text, SS_LEFT | SS_NOPREFIX, kTextId);
      if (text != nullptr && box->rightToLeft) StfReadFromRight(text);
      if (IconOf(box->style)) {
        HWND icon = AddChild(hwnd, L"STATIC", L"", SS_ICON, kIconId);
        SendMessageW(icon, STM_SETICON,
                     reinterpret_cast<WPARAM>(LoadIconA(nullptr, IconOf(box->style))), 0);
      }
      const stf::BoxButtons& buttons = box->buttons;
      for (int i = 0; i < buttons.count; ++i) {
        const Words words = WordsOf(buttons.buttons[i]);
        WCHAR label[64];
        StfLanguageText(words.text, words.english, label, 64);
        const bool preferred = buttons.buttons[i] == buttons.preferred;
        AddChild(hwnd, L"BUTTON", label,
                 WS_TABSTOP | (preferred ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), buttons.buttons[i]);
      }
      if (buttons.escape == stf::kBoxNone)
        EnableMenuItem(GetSystemMenu(hwnd, FALSE), SC_CLOSE, MF_GRAYED);
      LayOut(hwnd, *box);
      SetFocus(GetDlgItem(hwnd, buttons.preferred));
      if (BoxesBeep()) MessageBeep(box->style & MB_ICONMASK);
      return FALSE;  // the focus is set
    }
    case WM_CTLCOLORSTATIC:
      if (box != nullptr && box->rightToLeft) StfReadFromRight(reinterpret_cast<HDC>(wParam));
      return FALSE;
    case WM_COMMAND: {
      if (box == nullptr || HIWORD(wParam) != BN_CLICKED) return FALSE;
      const int pressed = LOWORD(wParam);
      const int id = pressed == IDCANCEL ? static_cast<int>(box->buttons.escape) : pressed;
      if (id != 0 && Has(*box, id)) EndDialog(hwnd, id);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

// A template without controls, in the language's face: the procedure adds
// what the box shows. A right-to-left language's box is mirrored where
// Windows mirrors (the frame found SetProcessDefaultLayout).
std::vector<WORD> Template(bool mirrored) {
  WCHAR face[LF_FACESIZE], size[8];
  StfLanguageText(IDS_LANGUAGE_FONT, L"MS Shell Dlg", face, LF_FACESIZE);
  StfLanguageText(IDS_LANGUAGE_FONT_SIZE, L"8", size, 8);
  std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
  auto* header = reinterpret_cast<DLGTEMPLATE*>(words.data());
  header->style =
      DS_MODALFRAME | DS_SETFONT | DS_SETFOREGROUND | WS_POPUP | WS_CAPTION | WS_SYSMENU;
  header->dwExtendedStyle = mirrored ? WS_EX_LAYOUTRTL : 0;
  words.insert(words.end(), {0, 0, 0});  // no menu, the dialog class, no title yet
  words.push_back(
      static_cast<WORD>(std::wcstol(size, nullptr, 10) > 0 ? std::wcstol(size, nullptr, 10) : 8));
  for (const WCHAR* p = face; *p; ++p) words.push_back(*p);
  words.push_back(0);
  return words;
}

// The box holds the whole setup, as MB_TASKMODAL does: every other window of
// the thread is disabled while it is up.
BOOL CALLBACK DisableOne(HWND window, LPARAM param) {
  if (IsWindowVisible(window) && IsWindowEnabled(window)) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    EnableWindow(window, FALSE);
  }
  return TRUE;
}

// Is there nobody to answer a box? A run that takes every default answer
// without a window says so here too.
bool NobodyAnswers() { return StfQuiet() != FALSE; }

}  // namespace

// Whether the boxes sound (FSetBeepingMode).
static BOOL beeping = TRUE;

bool BoxesBeep() { return beeping != FALSE; }

extern "C" BOOL STFAPI FSetBeepingMode(BOOL beep) {
  BOOL previous = beeping;
  beeping = beep;
  return previous;
}

extern "C" INT STFAPI StfShowBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT style) {
  Box box{text ? text : L"", caption ? caption : L"", style, stf::ButtonsOfBox(style),
          StfLanguageBoxStyle() != 0};
  if (NobodyAnswers()) {
    LogRecord("Message box answered without a window: button " +
              std::to_string(box.buttons.unattended));
    return box.buttons.unattended;
  }
  std::string mirror;
  Symbols().Get(STF_SYM_MIRROR, &mirror);
  const std::vector<WORD> words = Template(box.rightToLeft && mirror == "1");
  std::vector<HWND> disabled;
  EnumThreadWindows(GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(&disabled));
  const INT_PTR answer = DialogBoxIndirectParamW(GetModuleHandleA("MSCOMSTF.dll"),
                                                 reinterpret_cast<LPCDLGTEMPLATEW>(words.data()),
                                                 owner, BoxProc, reinterpret_cast<LPARAM>(&box));
  for (HWND window : disabled) EnableWindow(window, TRUE);
  if (owner != nullptr && IsWindow(owner)) SetActiveWindow(owner);
  if (answer <= 0) {
    // Not shown: as if nobody were there to answer.
    StfLogError("Cannot show a message box (DialogBoxIndirectParamW)", GetLastError());
    return box.buttons.unattended;
  }
  return static_cast<INT>(answer);
}
