#include "platform/setup-toolkit/install/progress_gauge.h"

static const char kGaugeClass[] = "StfProgressGauge";
static int gaugeX = 155;
static int gaugeY = 130;
static HWND gauge = nullptr;
static int percent = 0;

static LRESULT CALLBACK GaugeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  RECT client;
  GetClientRect(window, &client);
  RECT done = client;
  done.right = client.left + (client.right - client.left) * percent / 100;
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 160));
  FillRect(dc, &done, blue);
  DeleteObject(blue);
  RECT rest = client;
  rest.left = done.right;
  FillRect(dc, &rest, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  char text[8];
  wsprintfA(text, "%d%%", percent);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(128, 128, 128));
  DrawTextA(dc, text, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  EndPaint(window, &ps);
  return 0;
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
  // A child of the frame: drawn on it, under every dialog, so that no
  // activation (a billboard swapped for the next) can bury it. (x, y) are
  // then frame client coordinates, as ProSetPos means them.
  DWORD style = WS_BORDER | WS_CAPTION | WS_VISIBLE | (frame ? WS_CHILD : WS_POPUP);
  // Never under the billboard: then just below it, centred.
  RECT avoidRect, gaugeRect = {x, y, x + 320, y + 56}, overlap;
  if (avoid != nullptr && GetWindowRect(avoid, &avoidRect)) {
    MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&avoidRect), 2);
    if (IntersectRect(&overlap, &avoidRect, &gaugeRect)) {
      x = (avoidRect.left + avoidRect.right) / 2 - 160;
      y = avoidRect.bottom + 12;
    }
  }
  gauge = CreateWindowExA(0, kGaugeClass, "Copying", style, x, y, 320, 56, frame, nullptr,
                          wc.hInstance, nullptr);
  if (gauge != nullptr) UpdateWindow(gauge);
}

void SetGaugeProgress(unsigned long long done, unsigned long long total) {
  int now = total == 0 ? 100 : static_cast<int>(done * 100 / total);
  if (gauge == nullptr || now == percent) return;
  percent = now;
  InvalidateRect(gauge, nullptr, FALSE);
  UpdateWindow(gauge);
}

void CloseGauge(void) {
  if (gauge != nullptr) DestroyWindow(gauge);
  gauge = nullptr;
}
