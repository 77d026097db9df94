#include "platform/dialogs/dialog_layout.h"

#include "platform/dialogs/dialog_ids.h"
#include "platform/dialogs/dialog_report.h"
#include "platform/setup-toolkit/right_to_left.h"

static bool IsShown(HWND window) {
  return (GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

bool IsText(HWND child) {
  char name[16] = "";
  GetClassNameA(child, name, sizeof name);
  return lstrcmpiA(name, "Static") == 0 && (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) <= SS_RIGHT;
}

// Height the static's text takes when wrapped to the given width, or 0 when
// it cannot be measured.
static int WrappedTextHeight(HWND hdlg, HWND text, int width) {
  WCHAR buffer[2048];
  int length = GetWindowTextW(text, buffer, 2048);
  if (length == 0) return 0;
  HDC dc = GetDC(text);
  if (dc == nullptr) {
    ReportProblem(hdlg, "cannot measure a text", GetLastError());
    return 0;
  }
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(text, WM_GETFONT, 0, 0));
  HGDIOBJ oldFont = SelectObject(dc, font);
  // As wide as the control draws it (right_to_left.h).
  RECT need = {0, 0, width - StfMarkSlack(dc, std::wstring(buffer, length)), 0};
  // The flags a left-aligned static draws with.
  UINT flags = DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_LEFT;
  if (GetWindowLongA(text, GWL_STYLE) & SS_NOPREFIX) flags |= DT_NOPREFIX;
  DrawTextW(dc, buffer, length, &need, flags);
  SelectObject(dc, oldFont);
  ReleaseDC(text, dc);
  return need.bottom - need.top;
}

static RECT ChildRect(HWND hdlg, HWND child) {
  RECT rect = {0, 0, 0, 0};
  if (!GetWindowRect(child, &rect))
    ReportProblem(hdlg, "cannot read a control's place", GetLastError());
  MapWindowPoints(nullptr, hdlg, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

static void Reshape(HWND hdlg, HWND window, int x, int y, int width, int height, UINT flags) {
  if (!SetWindowPos(window, nullptr, x, y, width, height, flags | SWP_NOZORDER | SWP_NOACTIVATE))
    ReportProblem(hdlg, "cannot lay out the dialog", GetLastError());
}

static void MoveChildrenBelow(HWND hdlg, int top, int distance) {
  for (HWND child = GetWindow(hdlg, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    RECT rect = ChildRect(hdlg, child);
    if (rect.top >= top) Reshape(hdlg, child, rect.left, rect.top + distance, 0, 0, SWP_NOSIZE);
  }
}

static int LowestChildBottom(HWND hdlg) {
  int lowest = 0;
  for (HWND child = GetWindow(hdlg, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    RECT rect = ChildRect(hdlg, child);
    if (IsShown(child) && rect.bottom > lowest) lowest = rect.bottom;
  }
  return lowest;
}

// The space between bottom and the next control below it.
static int GapBelow(HWND hdlg, int bottom) {
  int next = bottom;
  for (HWND child = GetWindow(hdlg, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    RECT rect = ChildRect(hdlg, child);
    if (rect.top >= bottom && (next == bottom || rect.top < next)) next = rect.top;
  }
  return next - bottom;
}

void FitTexts(HWND hdlg) {
  RECT client;
  GetClientRect(hdlg, &client);
  int margin = client.bottom - LowestChildBottom(hdlg);

  // In template order, which is top to bottom: each text takes the height it
  // needs; a hidden one gives up its place and the gap above it (below it
  // while no text above it is shown), so the others keep the template's gaps.
  bool shownAbove = false;
  int lastBottom = 0;
  for (HWND text = GetWindow(hdlg, GW_CHILD); text != nullptr;
       text = GetWindow(text, GW_HWNDNEXT)) {
    if (!IsText(text)) continue;
    RECT rect = ChildRect(hdlg, text);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    if (!IsShown(text)) {
      int freed = shownAbove ? rect.bottom - lastBottom : height + GapBelow(hdlg, rect.bottom);
      MoveChildrenBelow(hdlg, rect.bottom, -freed);
      Reshape(hdlg, text, 0, 0, width, 0, SWP_NOMOVE);
      continue;
    }
    int needed = WrappedTextHeight(hdlg, text, width);
    if (needed != 0 && needed != height) {
      MoveChildrenBelow(hdlg, rect.bottom, needed - height);
      Reshape(hdlg, text, 0, 0, width, needed, SWP_NOMOVE);
      height = needed;
    }
    shownAbove = true;
    lastBottom = rect.top + height;
  }

  // The bottom margin stays as the template has it; a picture taller than the
  // texts keeps the dialog's height.
  int change = LowestChildBottom(hdlg) + margin - client.bottom;
  if (change == 0) return;
  RECT window;
  GetWindowRect(hdlg, &window);
  Reshape(hdlg, hdlg, 0, 0, window.right - window.left, window.bottom - window.top + change,
          SWP_NOMOVE);
}

static bool IsPushButton(HWND child) {
  char name[16] = "";
  GetClassNameA(child, name, sizeof name);
  const LONG type = GetWindowLongA(child, GWL_STYLE) & 0x0F;  // BS_TYPEMASK
  return lstrcmpiA(name, "Button") == 0 && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
}

// The width a button's words take in its font, with the margins the template
// gives an English word.
static int ButtonWidth(HWND hdlg, HWND button, int margin) {
  WCHAR text[256];
  const int length = GetWindowTextW(button, text, 256);
  HDC dc = GetDC(button);
  if (dc == nullptr) {
    ReportProblem(hdlg, "cannot measure a button", GetLastError());
    return 0;
  }
  HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0)));
  RECT need = {0, 0, 0, 0};
  DrawTextW(dc, text, length, &need, DT_CALCRECT | DT_SINGLELINE);
  SelectObject(dc, oldFont);
  ReleaseDC(button, dc);
  return need.right - need.left + 2 * margin;
}

void FitButtons(HWND hdlg) {
  RECT units = {6, 0, 0, 0};  // the margin on each side of a button's words
  MapDialogRect(hdlg, &units);
  // The template's buttons stand in one row at the right, the same width each;
  // words longer than a button widen every button alike, and the row grows
  // to the left.
  HWND buttons[8];
  int count = 0, width = 0, right = 0, gap = 0;
  for (HWND child = GetWindow(hdlg, GW_CHILD); child != nullptr && count < 8;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsPushButton(child)) continue;
    const RECT rect = ChildRect(hdlg, child);
    if (count > 0) gap = rect.left - ChildRect(hdlg, buttons[count - 1]).right;
    buttons[count++] = child;
    if (rect.right - rect.left > width) width = rect.right - rect.left;
    if (ButtonWidth(hdlg, child, units.left) > width) width = ButtonWidth(hdlg, child, units.left);
    right = rect.right;
  }
  for (int i = count - 1; i >= 0; --i) {
    const RECT rect = ChildRect(hdlg, buttons[i]);
    Reshape(hdlg, buttons[i], right - width, rect.top, width, rect.bottom - rect.top, 0);
    right -= width + gap;
  }
}

void CentreOnScreen(HWND hdlg) {
  RECT area;
  // The work area keeps the dialog clear of the taskbar; the whole screen is
  // the fallback on a system that cannot tell.
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0)) {
    area.left = 0;
    area.top = 0;
    area.right = GetSystemMetrics(SM_CXSCREEN);
    area.bottom = GetSystemMetrics(SM_CYSCREEN);
  }
  RECT dialog;
  if (!GetWindowRect(hdlg, &dialog)) {
    ReportProblem(hdlg, "cannot read the dialog's size to centre it", GetLastError());
    return;
  }
  int width = dialog.right - dialog.left;
  int height = dialog.bottom - dialog.top;
  int x = area.left + ((area.right - area.left) - width) / 2;
  int y = area.top + ((area.bottom - area.top) - height) / 2;
  // A dialog larger than the area keeps its caption on the screen.
  if (x < area.left) x = area.left;
  if (y < area.top) y = area.top;
  if (!SetWindowPos(hdlg, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE))
    ReportProblem(hdlg, "cannot centre the dialog", GetLastError());
}

bool FocusDefaultButton(HWND hdlg) {
  LRESULT def = SendMessageA(hdlg, DM_GETDEFID, 0, 0);
  if (HIWORD(def) != DC_HASDEFID) return false;
  HWND button = GetDlgItem(hdlg, LOWORD(def));
  if (button == nullptr) return false;
  SetFocus(button);
  return true;
}

void ShowTemplateIcon(HWND hdlg) {
  static const struct {
    int control;
    LPCSTR icon;
  } kIcons[] = {
      {IDC_ICON_INFO, IDI_ASTERISK},
      {IDC_ICON_QUESTION, IDI_QUESTION},
      {IDC_ICON_WARNING, IDI_EXCLAMATION},
      {IDC_ICON_ERROR, IDI_HAND},
  };
  for (const auto& entry : kIcons) {
    HWND control = GetDlgItem(hdlg, entry.control);
    if (control == nullptr) continue;
    HICON icon = LoadIconA(nullptr, entry.icon);
    if (icon == nullptr) {
      ReportProblem(hdlg, "cannot load the system icon", GetLastError());
      continue;
    }
    // A shared system icon: never destroyed, so nothing to free later.
    SendMessageA(control, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  }
}
