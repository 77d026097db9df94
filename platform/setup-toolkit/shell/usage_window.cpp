#include "platform/setup-toolkit/shell/usage_window.h"

#include <algorithm>

#include "options.h"
#include "platform/setup-toolkit/language_resources.h"
#include "platform/setup-toolkit/stf_internal.h"

namespace {

struct Usage {
  std::wstring heading;
  bool error;
  std::wstring title;
  bool rightToLeft;
};

// The switches' own cells are commands: they read left to right in every
// language; the rest reads as the language does.
bool IsSwitchCell(int id) { return id >= IDC_USAGE_TABLE && (id - IDC_USAGE_TABLE) % 2 == 0; }

void ReadAsTheLanguage(HWND hdlg) {
  for (HWND child = GetWindow(hdlg, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const int id = GetDlgCtrlID(child);
    if (id != IDOK && id != IDC_USAGE_ICON && !IsSwitchCell(id)) StfReadFromRight(child);
  }
}

std::wstring Wide(const std::string& ansi) {
  WCHAR text[2048] = L"";
  MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, text, 2048);
  return text;
}

// The language's words for a text of the window; the core's English by default.
std::wstring Spoken(UINT id, const std::string& english) {
  WCHAR text[2048];
  StfLanguageText(id, Wide(english).c_str(), text, 2048);
  return text;
}

HINSTANCE ShellModule() { return GetModuleHandleA("MSSHLSTF.dll"); }

HFONT DialogFont(HWND hdlg) {
  return reinterpret_cast<HFONT>(SendMessageA(hdlg, WM_GETFONT, 0, 0));
}

// The size the text takes in the dialog's font, wrapped to width.
SIZE TextSize(HWND hdlg, const std::wstring& text, int width) {
  SIZE size = {0, 0};
  HDC dc = GetDC(hdlg);
  if (dc == nullptr) return size;
  HGDIOBJ old = SelectObject(dc, DialogFont(hdlg));
  const int slack = StfMarkSlack(dc, text);  // as wide as it is drawn (right_to_left.h)
  RECT need = {0, 0, width - slack, 0};
  DrawTextW(dc, text.c_str(), -1, &need, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_LEFT);
  SelectObject(dc, old);
  ReleaseDC(hdlg, dc);
  size.cx = need.right - need.left + slack;
  size.cy = need.bottom - need.top;
  return size;
}

void AddText(HWND hdlg, int id, const std::wstring& text, int x, int y, int width, int height) {
  HWND cell = CreateWindowExW(0, L"STATIC", text.c_str(),
                              WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, x, y, width, height,
                              hdlg, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              ShellModule(), nullptr);
  if (cell != nullptr) SendMessageA(cell, WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont(hdlg)), 0);
}

RECT ChildRect(HWND hdlg, int id) {
  RECT rect = {0, 0, 0, 0};
  GetWindowRect(GetDlgItem(hdlg, id), &rect);
  MapWindowPoints(nullptr, hdlg, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// A row's switches, which read left to right in every language.
std::wstring SwitchText(std::size_t row) {
  const std::wstring switches = Wide(stf::kUsageRows[row].switches);
  return StfLanguageBoxStyle() != 0 ? StfLeftToRightText(switches) : switches;
}

// The switches as two columns: each meaning starts where the widest switch
// ends, and a meaning too long for its column wraps within it.
int AddTable(HWND hdlg, int left, int width, int y, int gap) {
  int first = 0;
  for (std::size_t i = 0; i < stf::kUsageRowCount; ++i) {
    first = std::max<int>(first, TextSize(hdlg, SwitchText(i), width).cx);
  }
  const int second = width - first - gap;
  for (std::size_t i = 0; i < stf::kUsageRowCount; ++i) {
    const std::wstring switches = SwitchText(i);
    const std::wstring meaning =
        Spoken(IDS_STF_USAGE_QUIET + static_cast<UINT>(i), stf::kUsageRows[i].meaning);
    const int height =
        std::max(TextSize(hdlg, switches, first).cy, TextSize(hdlg, meaning, second).cy);
    const int id = IDC_USAGE_TABLE + 2 * static_cast<int>(i);
    AddText(hdlg, id, switches, left, y, first, height);
    AddText(hdlg, id + 1, meaning, left + first + gap, y, second, height);
    y += height + gap / 4;
  }
  return y;
}

void Layout(HWND hdlg, const Usage& usage) {
  RECT units = {4, 8, 10, 10};  // gaps: between the columns, paragraphs, the margin
  MapDialogRect(hdlg, &units);
  const RECT heading = ChildRect(hdlg, IDC_USAGE_HEADING);
  const int left = heading.left, width = heading.right - heading.left;
  SetDlgItemTextW(hdlg, IDC_USAGE_HEADING, usage.heading.c_str());
  const int headingHeight = TextSize(hdlg, usage.heading, width).cy;
  SetWindowPos(GetDlgItem(hdlg, IDC_USAGE_HEADING), nullptr, 0, 0, width, headingHeight,
               SWP_NOMOVE | SWP_NOZORDER);

  int y = AddTable(hdlg, left, width, heading.top + headingHeight + units.top, units.right);
  // The notes are written for a console's lines; here they wrap as they fit.
  std::string english = stf::kUsageNotes;
  std::replace(english.begin(), english.end(), '\n', ' ');
  const std::wstring notes = Spoken(IDS_STF_USAGE_NOTES, english);
  const int notesHeight = TextSize(hdlg, notes, width).cy;
  AddText(hdlg, IDC_USAGE_TABLE - 1, notes, left, y + units.top, width, notesHeight);
  y += units.top + notesHeight + units.top;

  const RECT ok = ChildRect(hdlg, IDOK);
  SetWindowPos(GetDlgItem(hdlg, IDOK), nullptr, left + width - (ok.right - ok.left), y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER);
  RECT client, window;
  GetClientRect(hdlg, &client);
  GetWindowRect(hdlg, &window);
  const int grow = y + (ok.bottom - ok.top) + units.bottom - client.bottom;
  const int w = window.right - window.left, h = window.bottom - window.top + grow;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
  const int top = std::max(0, (GetSystemMetrics(SM_CYSCREEN) - h) / 2);
  SetWindowPos(hdlg, nullptr, std::max(0, x), top, w, h, SWP_NOZORDER);
}

INT_PTR CALLBACK UsageProc(HWND hdlg, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      const Usage& usage = *reinterpret_cast<const Usage*>(lParam);
      SetPropA(hdlg, STF_PROP_DIALOG_ID, reinterpret_cast<HANDLE>(STF_DIALOG_USAGE));
      SetWindowLongPtrW(hdlg, DWLP_USER, lParam);
      SetWindowTextW(hdlg, StfCaptionText(usage.title, usage.rightToLeft).c_str());
      SetDlgItemTextW(hdlg, IDOK, Spoken(IDS_STF_BOX_OK, "OK").c_str());
      HICON icon = LoadIconA(nullptr, usage.error ? IDI_HAND : IDI_ASTERISK);
      SendDlgItemMessageA(hdlg, IDC_USAGE_ICON, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
      Layout(hdlg, usage);
      if (usage.rightToLeft) ReadAsTheLanguage(hdlg);
      if (usage.error) MessageBeep(MB_ICONHAND);
      return TRUE;
    }
    case WM_CTLCOLORSTATIC: {
      const auto* usage = reinterpret_cast<const Usage*>(GetWindowLongPtrW(hdlg, DWLP_USER));
      if (usage != nullptr && usage->rightToLeft &&
          !IsSwitchCell(GetDlgCtrlID(reinterpret_cast<HWND>(lParam)))) {
        StfReadFromRight(reinterpret_cast<HDC>(wParam));
      }
      return FALSE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(hdlg, IDOK);
      return TRUE;
    case WM_DESTROY:
      RemovePropA(hdlg, STF_PROP_DIALOG_ID);
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

void ShowUsageWindow(const std::string& problem, const std::string& program, LPCWSTR title) {
  const std::wstring syntax = Wide(stf::UsageSyntax(program));
  Usage usage{StfFillText(Spoken(IDS_STF_USAGE_LINE, "Usage: %1"), &syntax, 1), !problem.empty(),
              title ? title : L"", StfLanguageBoxStyle() != 0};
  if (usage.error) {
    // What is wrong stays as the core words it: it quotes the command line.
    std::wstring bad = Spoken(IDS_STF_USAGE_BAD, "The command line cannot be used: %1.");
    const std::size_t at = bad.find(L"%1");
    if (at != std::wstring::npos) bad.replace(at, 2, Wide(problem));
    usage.heading = bad + L"\n\n" + usage.heading;
  }
  const INT_PTR shown = DialogBoxParamW(ShellModule(), MAKEINTRESOURCEW(STF_USAGE_TEMPLATE),
                                        nullptr, UsageProc, reinterpret_cast<LPARAM>(&usage));
  if (shown == -1) {
    StfLogError("Cannot show the window of the switches (DialogBoxParamW)", GetLastError());
  }
}
