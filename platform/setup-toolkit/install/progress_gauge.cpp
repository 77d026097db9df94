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

void OpenGauge(HWND owner) {
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
  // Never over the billboard it belongs to: then just below it, centred.
  RECT ownerRect, gaugeRect = {x, y, x + 320, y + 56}, overlap;
  if (owner != nullptr && GetWindowRect(owner, &ownerRect) &&
      IntersectRect(&overlap, &ownerRect, &gaugeRect)) {
    x = (ownerRect.left + ownerRect.right) / 2 - 160;
    y = ownerRect.bottom + 12;
  }
  gauge = CreateWindowExA(WS_EX_TOOLWINDOW, kGaugeClass, "Copying", WS_POPUP | WS_BORDER |
                          WS_CAPTION | WS_VISIBLE, x, y, 320, 56, owner, nullptr,
                          wc.hInstance, nullptr);
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
