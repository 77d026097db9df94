#include "platform/setup-toolkit/shell/frame_window.h"

#include "platform/setup-toolkit/language_resources.h"
#include "platform/setup-toolkit/stf_internal.h"

static const WCHAR kFrameClass[] = L"StfSetupFrame";
static HBITMAP frameBitmap = nullptr;

// Dark blue at the top fading to black, in bands, as setup frames are drawn.
static void PaintBackdrop(HDC dc, const RECT& area) {
  const int bands = 128;
  int height = area.bottom - area.top;
  for (int i = 0; i < bands; ++i) {
    RECT band = area;
    band.top = area.top + height * i / bands;
    band.bottom = area.top + height * (i + 1) / bands;
    HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255 - i * 255 / bands));
    FillRect(dc, &band, brush);
    DeleteObject(brush);
  }
}

// The frame is drawn left to right even where Windows mirrors it: a
// right-to-left language's title and bitmap are placed on the right and the
// title read from the right explicitly, which reads the same on every system
// (docs/WINE-NOTES.md, "Right to left").
static bool RightToLeft() { return StfLanguageBoxStyle() != 0; }

static void UnmirrorPainting(HWND window, HDC dc) {
  if ((GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) == 0) return;
  typedef DWORD(WINAPI * SetLayoutFn)(HDC, DWORD);  // Windows 2000 and later, as mirroring is
  auto setLayout = reinterpret_cast<SetLayoutFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("gdi32.dll"), "SetLayout")));
  if (setLayout != nullptr) setLayout(dc, 0);
}

// The title in the language's own face (the language's dialog face, Arial for
// the faces Windows gives every language), large, over a shadow.
static void PaintTitle(HWND window, HDC dc) {
  WCHAR title[256], face[LF_FACESIZE];
  if (StfSpokenTitle(FALSE, title, 256) <= 0 || GetWindowTextLengthW(window) == 0) return;
  StfLanguageText(IDS_LANGUAGE_FONT, L"MS Shell Dlg", face, LF_FACESIZE);
  const bool ownFace = lstrcmpiW(face, L"MS Shell Dlg") != 0;
  const bool rtl = RightToLeft();
  HFONT font = CreateFontW(-36, 0, 0, 0, FW_BOLD, !ownFace && !rtl, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           VARIABLE_PITCH | FF_SWISS, ownFace ? face : L"Arial");
  HGDIOBJ old = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  RECT client;
  GetClientRect(window, &client);
  const UINT flags = DT_SINGLELINE | DT_NOPREFIX | (rtl ? DT_RIGHT | DT_RTLREADING : DT_LEFT);
  RECT shadow = {23, 19, client.right - 17, client.bottom};
  RECT text = {20, 16, client.right - 20, client.bottom};
  SetTextColor(dc, RGB(0, 0, 0));
  DrawTextW(dc, title, -1, &shadow, flags);
  SetTextColor(dc, RGB(255, 255, 255));
  DrawTextW(dc, title, -1, &text, flags);
  SelectObject(dc, old);
  DeleteObject(font);
}

static void PaintBitmap(HWND window, HDC dc) {
  if (frameBitmap == nullptr) return;
  BITMAP info;
  if (!GetObjectA(frameBitmap, sizeof info, &info)) return;
  RECT client;
  GetClientRect(window, &client);
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, frameBitmap);
  const int x = RightToLeft() ? client.right - info.bmWidth - 24 : 24;
  BitBlt(dc, x, client.bottom - info.bmHeight - 24, info.bmWidth, info.bmHeight, memory, 0, 0,
         SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
}

// The dialog shown over the frame, if any (set by the dialog stack).
static HWND TopDialog(HWND window) {
  HWND top = static_cast<HWND>(GetPropA(window, STF_PROP_TOP_DIALOG));
  return top != nullptr && IsWindow(top) ? top : nullptr;
}

// Posted to itself: the frame was activated (the taskbar, Alt+Tab) while a
// dialog is over it, which is where the keyboard belongs.
static const UINT kActivateDialog = WM_APP + 1;

// Activation while a dialog is over the frame; false for what the frame
// leaves to the system. The frame's caption is drawn by the system: inactive
// while one of its dialogs has the keyboard, so that one title bar looks active.
static bool Activation(HWND window, UINT message, WPARAM wParam, LRESULT* result) {
  switch (message) {
    case WM_MOUSEACTIVATE:
      // A click on the frame leaves the keyboard with the dialog over it.
      *result = TopDialog(window) != nullptr ? MA_NOACTIVATE : MA_ACTIVATE;
      return true;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && TopDialog(window) != nullptr) {
        PostMessageA(window, kActivateDialog, 0, 0);
      }
      return false;
    default:
      if (message != kActivateDialog) return false;
      if (TopDialog(window) != nullptr && GetActiveWindow() == window) {
        SetForegroundWindow(TopDialog(window));
      }
      *result = 0;
      return true;
  }
}

static LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (Activation(window, message, wParam, &result)) return result;
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // painted whole in WM_PAINT
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      UnmirrorPainting(window, dc);
      RECT client;
      GetClientRect(window, &client);
      PaintBackdrop(dc, client);
      PaintTitle(window, dc);
      PaintBitmap(window, dc);
      EndPaint(window, &ps);
      return 0;
    }
    case WM_SETTEXT: {
      // Every box and window of the setup takes the frame's title: the
      // program's English (ANSI, as the toolkit keeps it) for the log, the
      // language's words on the screen.
      char english[256] = "";
      WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<LPCWSTR>(lParam), -1, english, sizeof english,
                          nullptr, nullptr);
      StfSetTitle(english);
      WCHAR title[256];
      StfSpokenTitle(FALSE, title, 256);
      const std::wstring caption = StfCaptionText(title, RightToLeft());
      result = DefWindowProcW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(caption.c_str()));
      InvalidateRect(window, nullptr, FALSE);
      return result;
    }
    case WM_CLOSE: {
      // Setup is left through its dialogs, not from under them: the close
      // box asks the dialog over the frame, as Alt+F4 there does.
      HWND top = TopDialog(window);
      if (top != nullptr) PostMessageA(top, WM_SYSCOMMAND, SC_CLOSE, 0);
      return 0;
    }
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

// A Unicode window, so that its caption shows any language on any ANSI code page.
HWND CreateFrameWindow(HINSTANCE instance) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = FrameProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
  wc.lpszClassName = kFrameClass;
  if (!RegisterClassW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;
  HWND window = CreateWindowExW(0, kFrameClass, L"", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                                nullptr, instance, nullptr);
  if (window == nullptr) return nullptr;
  ShowWindow(window, SW_SHOWMAXIMIZED);
  UpdateWindow(window);
  return window;
}

void SetFrameBitmapHandle(HBITMAP bitmap) {
  frameBitmap = bitmap;
}
