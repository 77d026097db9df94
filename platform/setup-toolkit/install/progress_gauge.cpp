#include "platform/setup-toolkit/install/progress_gauge.h"

#include <string>

#include "platform/setup-toolkit/language_resources.h"
#include "platform/setup-toolkit/stf_internal.h"

static const char kGaugeClass[] = "StfProgressGauge";
static const int kWidth = 320;
static const int kHeight = 56;
static const int kMargin = 8;
static int gaugeX = 155;
static int gaugeY = 130;
static HWND gauge = nullptr;
static int percent = 0;
static char file[MAX_PATH] = "";  // the file being copied, named above the bar

// What the gauge says in the language of the windows, also its window text
// for screen readers and the tests.
static std::wstring Label(void) {
  WCHAR form[256];
  if (file[0] == '\0') {
    StfLanguageText(IDS_STF_GAUGE_PREPARING, L"Preparing to copy the files", form, 256);
    return form;
  }
  StfLanguageText(IDS_STF_GAUGE_COPYING, L"Copying %1", form, 256);
  const std::wstring name = StfWideText(file);
  return StfFillText(form, &name, 1);
}

// Text only on the panel's face in the system's text colour, so that it
// reads as well as a dialog's; the bar carries no text.
static void PaintGauge(HWND window, HDC dc) {
  RECT client;
  GetClientRect(window, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICA metrics;
  GetTextMetricsA(dc, &metrics);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));

  RECT line = {kMargin, kMargin - 2, client.right - kMargin, kMargin - 2 + metrics.tmHeight};
  char number[8];
  wsprintfA(number, "%d%%", percent);
  SIZE numberSize = {0, 0};
  GetTextExtentPoint32A(dc, number, lstrlenA(number), &numberSize);
  DrawTextA(dc, number, -1, &line, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX);
  line.right -= numberSize.cx + kMargin;
  DrawTextW(dc, Label().c_str(), -1, &line, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  SelectObject(dc, oldFont);

  RECT bar = {kMargin, line.bottom + 4, client.right - kMargin, client.bottom - kMargin + 2};
  DrawEdge(dc, &bar, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  RECT done = bar;
  done.right = bar.left + (bar.right - bar.left) * percent / 100;
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 160));
  FillRect(dc, &done, blue);
  DeleteObject(blue);
  RECT rest = bar;
  rest.left = done.right;
  FillRect(dc, &rest, GetSysColorBrush(COLOR_WINDOW));
}

static LRESULT CALLBACK GaugeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  PaintGauge(window, dc);
  EndPaint(window, &ps);
  return 0;
}

static void Show(void) {
  if (gauge == nullptr) return;
  const std::wstring text =
      Label() + L": " + StfWideDecimal(static_cast<unsigned>(percent)) + L"%";
  SetWindowTextW(gauge, text.c_str());
  InvalidateRect(gauge, nullptr, FALSE);
  UpdateWindow(gauge);
}

void SetGaugePosition(int x, int y) {
  gaugeX = x;
  gaugeY = y;
}

void OpenGauge(HWND frame, HWND avoid) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = GaugeProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_WAIT);
  wc.lpszClassName = kGaugeClass;
  RegisterClassA(&wc);
  LONG units = GetDialogBaseUnits();
  int x = gaugeX * LOWORD(units) / 4;
  int y = gaugeY * HIWORD(units) / 8;
  percent = 0;
  file[0] = '\0';
  // A child of the frame: drawn on it, under every dialog, so that no
  // activation (a billboard swapped for the next) can bury it. (x, y) are
  // then frame client coordinates, as ProSetPos means them.
  DWORD style = WS_DLGFRAME | WS_VISIBLE | (frame ? WS_CHILD : WS_POPUP);
  // Never under the billboard: then just below it, centred.
  RECT avoidRect, gaugeRect = {x, y, x + kWidth, y + kHeight}, overlap;
  if (avoid != nullptr && GetWindowRect(avoid, &avoidRect)) {
    MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&avoidRect), 2);
    if (IntersectRect(&overlap, &avoidRect, &gaugeRect)) {
      x = (avoidRect.left + avoidRect.right) / 2 - kWidth / 2;
      y = avoidRect.bottom + 12;
    }
  }
  gauge = CreateWindowExA(0, kGaugeClass, "", style, x, y, kWidth, kHeight, frame, nullptr,
                          wc.hInstance, nullptr);
  Show();
}

void SetGaugeFile(LPCSTR name) {
  lstrcpynA(file, name ? name : "", sizeof file);
  Show();
}

void SetGaugeProgress(unsigned long long done, unsigned long long total) {
  int now = total == 0 ? 100 : static_cast<int>(done * 100 / total);
  if (gauge == nullptr || now == percent) return;
  percent = now;
  Show();
}

void CloseGauge(void) {
  if (gauge != nullptr) DestroyWindow(gauge);
  gauge = nullptr;
}
