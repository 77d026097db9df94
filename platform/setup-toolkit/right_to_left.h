// How a right-to-left language's windows read from the right. Each system
// needs something else (docs/WINE-NOTES.md, "Right to left"):
// - a mirrored window (Windows 2000 and later) reads its texts from the right
//   by itself; WS_EX_RTLREADING or TA_RTLREADING there would reverse the
//   reading again, so nothing more is asked;
// - Windows NT 4.0 cannot mirror: its text controls line up on the right and
//   read from the right (StfReadFromRight of the control);
// - Wine 8 mirrors the window but draws its texts left to right, so the
//   window's WM_CTLCOLORSTATIC asks the device context for right-to-left
//   reading (StfReadFromRight of the DC); and it draws each bidirectional
//   mark (U+200E, U+202A...) as wide as a space while measuring it as
//   nothing, so its text controls wrap short by the marks' width
//   (StfMarkSlack) and draw themselves to that width.
// Header-only: the toolkit's libraries and the dialog library share it.
#pragma once

#include <string>

#include "platform/win32.h"

// Wine marks itself with this export of ntdll; Windows has none.
inline bool StfOnWine() {
  static const bool wine =
      GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
  return wine;
}

// A window's caption in a right-to-left language, embedded right to left
// (U+202B to U+202C): a mirrored caption reads so on Windows anyway, Wine's
// and NT 4.0's unmirrored one need it said.
inline std::wstring StfCaptionText(const std::wstring& caption, bool rightToLeft) {
  if (!rightToLeft || caption.empty()) return caption;
  return std::wstring(1, 0x202B) + caption + std::wstring(1, 0x202C);
}

// A text that reads left to right in any language (a command, a switch),
// embedded so (U+202A to U+202C) in a right-to-left window.
inline std::wstring StfLeftToRightText(const std::wstring& text) {
  return std::wstring(1, 0x202A) + text + std::wstring(1, 0x202C);
}

// What a text's bidirectional marks take on the screen beyond what they
// measure: on Wine a space each, elsewhere nothing.
inline int StfMarkSlack(HDC dc, const std::wstring& text) {
  if (!StfOnWine()) return 0;
  int marks = 0;
  for (WCHAR c : text) marks += c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E);
  SIZE space = {0, 0};
  if (marks > 0) GetTextExtentPoint32W(dc, L" ", 1, &space);
  return marks * space.cx;
}

inline void StfReadFromRight(HDC dc) {
  if (StfOnWine()) SetTextAlign(dc, GetTextAlign(dc) | TA_RTLREADING);
}

// A text control drawn by itself, as the static control draws (its window's
// colours and reading order through WM_CTLCOLORSTATIC), but wrapped short by
// its marks' slack, so that no line runs out of the control.
inline LRESULT CALLBACK StfMarkedTextProc(HWND control, UINT message, WPARAM wParam,
                                          LPARAM lParam) {
  const auto plain = reinterpret_cast<WNDPROC>(GetPropA(control, "StfPlainStatic"));
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(control, &ps);
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    auto brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(control), WM_CTLCOLORSTATIC,
                                                       reinterpret_cast<WPARAM>(dc),
                                                       reinterpret_cast<LPARAM>(control)));
    RECT area;
    GetClientRect(control, &area);
    FillRect(dc, &area, brush != nullptr ? brush : GetSysColorBrush(COLOR_3DFACE));
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(control, &text[0], static_cast<int>(text.size()))));
    const int slack = StfMarkSlack(dc, text);
    UINT flags = DT_WORDBREAK | DT_EXPANDTABS;
    if (GetWindowLongW(control, GWL_STYLE) & SS_NOPREFIX) flags |= DT_NOPREFIX;
    // A mirrored control's leading edge is its left in its own coordinates.
    if (GetWindowLongW(control, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) {
      area.right -= slack;
    } else {
      flags |= DT_RIGHT;
      area.left += slack;
    }
    DrawTextW(dc, text.c_str(), -1, &area, flags);
    SelectObject(dc, old);
    EndPaint(control, &ps);
    return 0;
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(plain));
    RemovePropA(control, "StfPlainStatic");
  }
  return CallWindowProcW(plain, control, message, wParam, lParam);
}

// A right-to-left language's text control: on NT 4.0 lined up on the right
// and read from the right; on Wine drawn by StfMarkedTextProc.
inline void StfReadFromRight(HWND control) {
  const LONG extended = GetWindowLongW(control, GWL_EXSTYLE);
  if ((extended & WS_EX_LAYOUTRTL) == 0) {
    SetWindowLongW(control, GWL_EXSTYLE, extended | WS_EX_RTLREADING | WS_EX_RIGHT);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    if ((style & SS_TYPEMASK) == SS_LEFT) SetWindowLongW(control, GWL_STYLE, style | SS_RIGHT);
  }
  if (StfOnWine() && GetPropA(control, "StfPlainStatic") == nullptr) {
    SetPropA(control, "StfPlainStatic",
             reinterpret_cast<HANDLE>(GetWindowLongPtrW(control, GWLP_WNDPROC)));
    SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StfMarkedTextProc));
  }
}
