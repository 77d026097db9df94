#include "platform/setup-toolkit/shell/frame_window.h"

static const char kFrameClass[] = "StfSetupFrame";
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

static void PaintTitle(HWND window, HDC dc) {
  char title[256];
  int length = GetWindowTextA(window, title, sizeof title);
  if (length <= 0) return;
  HFONT font = CreateFontA(-36, 0, 0, 0, FW_BOLD, TRUE, FALSE, FALSE, ANSI_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           VARIABLE_PITCH | FF_SWISS, "Arial");
  HGDIOBJ old = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  TextOutA(dc, 23, 19, title, length);  // the shadow
  SetTextColor(dc, RGB(255, 255, 255));
  TextOutA(dc, 20, 16, title, length);
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
  BitBlt(dc, 24, client.bottom - info.bmHeight - 24, info.bmWidth, info.bmHeight, memory, 0, 0,
         SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
}

static LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // painted whole in WM_PAINT
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      RECT client;
      GetClientRect(window, &client);
      PaintBackdrop(dc, client);
      PaintTitle(window, dc);
      PaintBitmap(window, dc);
      EndPaint(window, &ps);
      return 0;
    }
    case WM_SETTEXT: {
      LRESULT result = DefWindowProcA(window, message, wParam, lParam);
      InvalidateRect(window, nullptr, FALSE);
      return result;
    }
    case WM_CLOSE:
      return 0;  // setup is left through its dialogs, not from under them
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

HWND CreateFrameWindow(HINSTANCE instance) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = FrameProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
  wc.lpszClassName = kFrameClass;
  if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;
  HWND window = CreateWindowExA(0, kFrameClass, "", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return nullptr;
  ShowWindow(window, SW_SHOWMAXIMIZED);
  UpdateWindow(window);
  return window;
}

void SetFrameBitmapHandle(HBITMAP bitmap) {
  frameBitmap = bitmap;
}
