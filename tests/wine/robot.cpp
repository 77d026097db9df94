// The Wine tests' hands: finds setup's dialogs by the dialog number the
// toolkit puts on them, presses their buttons, and reads a service's state.
// It runs in the same Wine session as setup.exe.
//
//   robot wait    <dialog> [timeoutMs]            a dialog is up, enabled and visible
//   robot press   <dialog> <button> [timeoutMs]   wait, then click the button
//   robot key     <dialog> enter|esc|alt+<letter> [timeoutMs]
//                                                 wait, then type the key into it
//   robot list                                    print every dialog now up ("active:"
//                                                 before the one with the keyboard)
//   robot codepage                                print the ANSI code page
//   robot service <name> <state> [timeoutMs]      wait for the service to reach a state
//                                                 (stopped, running, ...; "absent": no service)
//   robot fileversion <file>                      print the file version of its version
//                                                 resource ("file version a.b.c.d")
//   robot gauge <percent> [timeoutMs]             once the progress gauge names a file at
//                                                 that percentage or more and its bar is on
//                                                 the screen, hold setup's thread ("held
//                                                 thread N") for a screenshot
//   robot release <thread>                        let the held thread go on
//   robot activate-frame                          make setup's frame window the foreground
//                                                 window, as the taskbar does
//   robot reading <dialog> <control> [face] [points]
//                                                 which reading order the control's text
//                                                 shows on the screen: its picture against
//                                                 the system's own drawing of the same text
//                                                 read from the right and from the left
//                                                 ("reading right-to-left", "left-to-right"
//                                                 or "undecided"), line by line
//
// Each control of a dialog found is printed with its client rectangle on the
// screen ("at x,y wxh"), marked "icon" when it shows one.
//
// Exit codes: 0 found (and done), 1 timed out, 2 bad usage, 3 found but the
// action failed. Everything found or missed is printed on stdout, and last
// "robot: exit N": without that line the robot was ended from outside (a
// restart of Windows ends every program, with exit code 0).
//
// A dialog window once answered is spent: setup shows a dialog again as a new
// window. With ROBOT_SPENT naming a file, press and key record the window
// there and later commands pass over the windows it lists, so that a dialog
// closing a moment after its answer is never taken for the next one.
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/setup-toolkit/right_to_left.h"
#include "platform/setup-toolkit/stf_internal.h"

namespace {

enum ExitCode { kFound = 0, kTimeout = 1, kUsage = 2, kActionFailed = 3 };

const DWORD kDefaultTimeoutMs = 20000;
const DWORD kPollMs = 20;

struct DialogWindow {
  HWND hwnd;
  UINT id;
  bool visible;
  bool enabled;
};

std::string WindowText(HWND hwnd) {
  char text[1024] = "";
  // Another process's window: the system reads the text it keeps without a
  // message, so a busy or held thread never hangs the robot.
  GetWindowTextA(hwnd, text, sizeof text);
  // One line per window in what the robot prints: a line break shows as " | ".
  std::string line;
  for (const char* p = text; *p; ++p) {
    if (*p == '\r') continue;
    line += *p == '\n' ? std::string(" | ") : std::string(1, *p);
  }
  return line;
}

std::string HwndText(HWND hwnd) {
  char text[32];
  std::snprintf(text, sizeof text, "%#lx", static_cast<unsigned long>(
                                               reinterpret_cast<ULONG_PTR>(hwnd)));
  return text;
}

std::vector<std::string> SpentWindows() {
  std::vector<std::string> spent;
  const char* path = std::getenv("ROBOT_SPENT");
  if (path == nullptr || *path == '\0') return spent;
  std::FILE* file = std::fopen(path, "r");
  if (file == nullptr) return spent;  // nothing answered yet
  char line[64];
  while (std::fgets(line, sizeof line, file) != nullptr) {
    line[std::strcspn(line, "\r\n")] = '\0';
    spent.push_back(line);
  }
  std::fclose(file);
  return spent;
}

bool IsSpent(const std::vector<std::string>& spent, HWND hwnd) {
  for (const std::string& s : spent) {
    if (s == HwndText(hwnd)) return true;
  }
  return false;
}

bool MarkSpent(HWND hwnd) {
  const char* path = std::getenv("ROBOT_SPENT");
  if (path == nullptr || *path == '\0') return true;
  std::FILE* file = std::fopen(path, "a");
  if (file == nullptr) {
    std::printf("robot: cannot record the answered window in %s (error %lu)\n", path,
                GetLastError());
    return false;
  }
  std::fprintf(file, "%s\n", HwndText(hwnd).c_str());
  return std::fclose(file) == 0;
}

// Every visible dialog-class window; id 0 marks one the toolkit did not number
// (a message box, say), listed only so that a failure shows what is in the way.
BOOL CALLBACK CollectDialog(HWND hwnd, LPARAM param) {
  char className[16] = "";
  GetClassNameA(hwnd, className, sizeof className);
  if (std::strcmp(className, "#32770") != 0) return TRUE;
  UINT id = static_cast<UINT>(reinterpret_cast<UINT_PTR>(GetPropA(hwnd, STF_PROP_DIALOG_ID)));
  if (id == 0 && !IsWindowVisible(hwnd)) return TRUE;
  auto* found = reinterpret_cast<std::vector<DialogWindow>*>(param);
  found->push_back({hwnd, id, IsWindowVisible(hwnd) != FALSE, IsWindowEnabled(hwnd) != FALSE});
  return TRUE;
}

std::vector<DialogWindow> Dialogs() {
  std::vector<DialogWindow> found;
  EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&found));
  return found;
}

// The screen rectangle of a window's client area: "at x,y wxh".
std::string ClientPlace(HWND hwnd) {
  RECT rect = {0, 0, 0, 0};
  GetClientRect(hwnd, &rect);
  POINT corner = {0, 0};
  ClientToScreen(hwnd, &corner);
  char text[64];
  std::snprintf(text, sizeof text, "at %ld,%ld %ldx%ld", corner.x, corner.y,
                rect.right - rect.left, rect.bottom - rect.top);
  return text;
}

// The screen rectangle of the whole window, frame and caption included.
std::string WindowPlace(HWND hwnd) {
  RECT rect = {0, 0, 0, 0};
  GetWindowRect(hwnd, &rect);
  char text[64];
  std::snprintf(text, sizeof text, "window at %ld,%ld %ldx%ld", rect.left, rect.top,
                rect.right - rect.left, rect.bottom - rect.top);
  return text;
}

void PrintDialog(const char* prefix, const DialogWindow& dialog, bool spent) {
  if (dialog.id == 0) {
    std::printf("%sunnumbered dialog window %s \"%s\" %s\n", prefix, HwndText(dialog.hwnd).c_str(),
                WindowText(dialog.hwnd).c_str(), WindowPlace(dialog.hwnd).c_str());
    return;
  }
  std::printf("%sdialog %u window %s \"%s\"%s%s%s %s\n", prefix, dialog.id,
              HwndText(dialog.hwnd).c_str(), WindowText(dialog.hwnd).c_str(),
              dialog.visible ? "" : " hidden", dialog.enabled ? "" : " disabled",
              spent ? " answered" : "", WindowPlace(dialog.hwnd).c_str());
}

BOOL CALLBACK PrintControl(HWND hwnd, LPARAM) {
  char className[32] = "";
  GetClassNameA(hwnd, className, sizeof className);
  const bool icon = (GetWindowLongA(hwnd, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
                    std::strcmp(className, "Static") == 0;
  std::printf("    control %d %s \"%s\"%s%s %s%s\n", GetDlgCtrlID(hwnd), className,
              WindowText(hwnd).c_str(), IsWindowEnabled(hwnd) ? "" : " disabled",
              IsWindowVisible(hwnd) ? "" : " hidden", ClientPlace(hwnd).c_str(),
              icon ? " icon" : "");
  return TRUE;
}

// Does the window have the keyboard: is it the active window of its thread?
bool IsActive(HWND hwnd) {
  GUITHREADINFO info;
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, nullptr), &info) &&
         info.hwndActive == hwnd;
}

void PrintAll(const char* prefix) {
  std::vector<std::string> spent = SpentWindows();
  std::vector<DialogWindow> dialogs = Dialogs();
  if (dialogs.empty()) std::printf("%sno dialog is up\n", prefix);
  for (const DialogWindow& dialog : dialogs) {
    if (IsActive(dialog.hwnd)) std::printf("%sactive:\n", prefix);
    PrintDialog(prefix, dialog, IsSpent(spent, dialog.hwnd));
    if (dialog.id == 0) EnumChildWindows(dialog.hwnd, PrintControl, 0);
  }
}

// The dialog waiting for an answer: visible, enabled and not answered before.
HWND FindLive(UINT id) {
  std::vector<std::string> spent = SpentWindows();
  for (const DialogWindow& dialog : Dialogs()) {
    if (dialog.id == id && dialog.visible && dialog.enabled && !IsSpent(spent, dialog.hwnd)) {
      return dialog.hwnd;
    }
  }
  return nullptr;
}

HWND WaitForDialog(UINT id, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    HWND hwnd = FindLive(id);
    if (hwnd != nullptr) {
      // A message round trip: the dialog's thread has gone idle, so it has
      // painted and a screenshot taken now shows it.
      DWORD_PTR ignored;
      SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
      std::vector<DialogWindow> dialogs = Dialogs();
      for (const DialogWindow& dialog : dialogs) {
        if (dialog.hwnd == hwnd) PrintDialog("found ", dialog, false);
      }
      EnumChildWindows(hwnd, PrintControl, 0);
      return hwnd;
    }
    if (GetTickCount() - start >= timeoutMs) break;
    Sleep(kPollMs);
  }
  std::printf("timeout: no dialog %u came up within %lu ms; up now:\n", id, timeoutMs);
  PrintAll("  ");
  return nullptr;
}

// The progress gauge, a child of the frame window.
HWND FindGauge() {
  for (HWND top = GetTopWindow(nullptr); top != nullptr; top = GetWindow(top, GW_HWNDNEXT)) {
    HWND gauge = FindWindowExA(top, nullptr, "StfProgressGauge", nullptr);
    if (gauge != nullptr) return gauge;
  }
  return nullptr;
}

// Has the screen got the gauge's bar drawn in part? A point near the bar's
// left end (inside the gauge's margin, above its bottom edge) is dark blue
// once the bar's fill has reached the screen, which under Wine lags behind
// the painting until setup's thread next looks at its messages.
bool BarOnScreen(HWND gauge) {
  RECT rect;
  GetClientRect(gauge, &rect);
  POINT point = {12, rect.bottom - 10};
  ClientToScreen(gauge, &point);
  HDC screen = GetDC(nullptr);
  const COLORREF colour = GetPixel(screen, point.x, point.y);
  ReleaseDC(nullptr, screen);
  return colour != CLR_INVALID && GetBValue(colour) >= 100 && GetRValue(colour) < 60 &&
         GetGValue(colour) < 60;
}

// Waits until the gauge names a file, shows at least minPercent and has its
// bar on the screen, then holds setup's thread there, so that a screenshot
// shows the copy under way. The window text is read without a message:
// setup's thread is busy copying.
int HoldGauge(DWORD minPercent, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  std::string text;
  for (;;) {
    HWND gauge = FindGauge();
    char buffer[512] = "";
    if (gauge != nullptr) GetWindowTextA(gauge, buffer, sizeof buffer);
    text = buffer;
    const std::size_t colon = text.rfind(": ");
    const DWORD percent = colon == std::string::npos ? 0 : std::strtoul(text.c_str() + colon + 2, nullptr, 10);
    if (gauge != nullptr && text.rfind("Copying ", 0) == 0 && percent >= minPercent &&
        percent < 100 && BarOnScreen(gauge)) {
      const DWORD thread = GetWindowThreadProcessId(gauge, nullptr);
      HANDLE handle = OpenThread(THREAD_SUSPEND_RESUME, FALSE, thread);
      if (handle == nullptr || SuspendThread(handle) == static_cast<DWORD>(-1)) {
        std::printf("failed: cannot hold thread %lu (error %lu)\n", thread, GetLastError());
        return kActionFailed;
      }
      CloseHandle(handle);
      std::printf("gauge \"%s\" %s %s\nheld thread %lu\n", text.c_str(), ClientPlace(gauge).c_str(),
                  WindowPlace(gauge).c_str(), thread);
      return kFound;
    }
    if (GetTickCount() - start >= timeoutMs) break;
    Sleep(1);
  }
  std::printf("timeout: the gauge did not name a file at %lu%% or more within %lu ms (last \"%s\")\n",
              minPercent, timeoutMs, text.c_str());
  return kTimeout;
}

int Release(DWORD thread) {
  HANDLE handle = OpenThread(THREAD_SUSPEND_RESUME, FALSE, thread);
  if (handle == nullptr || ResumeThread(handle) == static_cast<DWORD>(-1)) {
    std::printf("failed: cannot release thread %lu (error %lu)\n", thread, GetLastError());
    return kActionFailed;
  }
  CloseHandle(handle);
  std::printf("released thread %lu\n", thread);
  return kFound;
}

// A picture of w x h pixels as dark-or-not, row by row.
struct Ink {
  int w = 0, h = 0;
  std::vector<bool> dark;
};

Ink InkOf(HDC source, int x, int y, int w, int h) {
  Ink ink;
  ink.w = w;
  ink.h = h;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC memory = CreateCompatibleDC(source);
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, source, x, y, SRCCOPY);
  GdiFlush();
  const auto* pixel = static_cast<const BYTE*>(bits);
  for (int i = 0; i < w * h; ++i, pixel += 4) {
    ink.dark.push_back(pixel[0] * 114 + pixel[1] * 587 + pixel[2] * 299 < 128000);
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  return ink;
}

// The text drawn by the system into a picture of the control's size, in the
// dialog font's face: right-aligned and read from the right, or left-aligned
// and read from the left; wrapped short by its marks' slack, as the setup's
// text controls wrap (right_to_left.h), and with room for what they overflow.
Ink Drawn(const std::wstring& text, int w, int h, HFONT font, bool fromRight) {
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HGDIOBJ oldFont = SelectObject(memory, font);
  const int slack = StfMarkSlack(memory, text);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, w + slack, h);
  HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
  RECT all = {0, 0, w + slack, h};
  FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetTextColor(memory, RGB(0, 0, 0));
  SetBkMode(memory, TRANSPARENT);
  RECT lines = {0, 0, w - slack, h};
  DrawTextW(
      memory, text.c_str(), -1, &lines,
      DT_WORDBREAK | DT_NOPREFIX | DT_NOCLIP | (fromRight ? DT_RIGHT | DT_RTLREADING : DT_LEFT));
  Ink ink = InkOf(memory, 0, 0, w + slack, h);
  SelectObject(memory, oldFont);
  SelectObject(memory, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return ink;
}

// How alike two pictures of one band of lines are, each taken from its own
// leftmost ink (a line may sit a few pixels apart): shared ink over all ink.
double Alike(const Ink& a, const Ink& b, int top, int bottom) {
  auto left = [&](const Ink& ink) {
    int first = ink.w;
    for (int y = top; y < bottom; ++y) {
      for (int x = 0; x < first; ++x) {
        if (ink.dark[y * ink.w + x]) first = x;
      }
    }
    return first;
  };
  const int la = left(a), lb = left(b);
  int both = 0, either = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = 0; x + la < a.w && x + lb < b.w; ++x) {
      const bool da = a.dark[y * a.w + x + la], db = b.dark[y * b.w + x + lb];
      both += da && db;
      either += da || db;
    }
  }
  return either == 0 ? 1.0 : static_cast<double>(both) / either;
}

int Reading(HWND dialog, int controlId, const char* face, int points) {
  HWND control = GetDlgItem(dialog, controlId);
  if (control == nullptr) {
    std::printf("failed: dialog %s has no control %d\n", HwndText(dialog).c_str(), controlId);
    return kActionFailed;
  }
  WCHAR text[2048] = L"";
  GetWindowTextW(control, text, 2048);
  RECT rect;
  GetClientRect(control, &rect);
  POINT corner = {0, 0};
  ClientToScreen(control, &corner);
  // A mirrored control's client origin is its right edge.
  if (GetWindowLongA(control, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) corner.x -= rect.right;
  HDC screen = GetDC(nullptr);
  const Ink shown = InkOf(screen, corner.x, corner.y, rect.right, rect.bottom);
  WCHAR wideFace[LF_FACESIZE];
  MultiByteToWideChar(CP_ACP, 0, face, -1, wideFace, LF_FACESIZE);
  // As the dialog manager makes a template's font.
  HFONT font =
      CreateFontW(-MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, FALSE,
                  FALSE, FALSE, DEFAULT_CHARSET, 0, 0, PROOF_QUALITY, FF_DONTCARE, wideFace);
  ReleaseDC(nullptr, screen);
  const Ink fromRight = Drawn(text, rect.right, rect.bottom, font, true);
  const Ink fromLeft = Drawn(text, rect.right, rect.bottom, font, false);
  HDC measure = GetDC(nullptr);
  HGDIOBJ old = SelectObject(measure, font);
  TEXTMETRICW metrics;
  GetTextMetricsW(measure, &metrics);
  SelectObject(measure, old);
  ReleaseDC(nullptr, measure);
  DeleteObject(font);
  // Line by line: a line reads one way or the other, or both alike (no
  // text of the other direction in it).
  int right = 0, left = 0, lines = 0;
  double worst = 1.0;
  for (int top = 0; top + metrics.tmHeight <= rect.bottom; top += metrics.tmHeight, ++lines) {
    const double r = Alike(shown, fromRight, top, top + metrics.tmHeight);
    const double l = Alike(shown, fromLeft, top, top + metrics.tmHeight);
    std::printf("  line %d: like read from the right %.2f, from the left %.2f\n", lines + 1, r, l);
    if (r > l + 0.05) ++right;
    if (l > r + 0.05) ++left;
    worst = std::min(worst, std::max(r, l));
  }
  const char* verdict = worst < 0.9 || (right && left) || (!right && !left) ? "undecided"
                        : right                                             ? "right-to-left"
                                                                            : "left-to-right";
  std::printf("reading %d %s (%d of %d lines tell)\n", controlId, verdict, right + left, lines);
  return kFound;
}

bool ParseNumber(const char* text, DWORD* out) {
  char* end = nullptr;
  unsigned long value = std::strtoul(text, &end, 10);
  if (end == text || *end != '\0') return false;
  *out = value;
  return true;
}

int Usage(const char* problem) {
  std::printf(
      "robot: %s\n"
      "usage: robot wait <dialog> [timeoutMs]\n"
      "       robot press <dialog> <button> [timeoutMs]\n"
      "       robot key <dialog> enter|esc|alt+<letter> [timeoutMs]\n"
      "       robot list\n"
      "       robot codepage\n"
      "       robot service <name> <state> [timeoutMs]\n"
      "       robot gauge <percent> [timeoutMs]\n"
      "       robot release <thread>\n"
      "       robot activate-frame\n"
      "       robot reading <dialog> <control> [face] [points]\n",
      problem);
  return kUsage;
}

// The press goes through the dialog's own message loop, as a click does; a
// sent message would block the robot for as long as the dialog's answer
// keeps setup busy (a nested dialog, the copy).
int Press(HWND dialog, int buttonId) {
  HWND button = GetDlgItem(dialog, buttonId);
  if (button == nullptr) {
    std::printf("failed: dialog %s has no control %d\n", HwndText(dialog).c_str(), buttonId);
    return kActionFailed;
  }
  if (!IsWindowVisible(button) || !IsWindowEnabled(button)) {
    std::printf("failed: button %d \"%s\" is%s%s\n", buttonId, WindowText(button).c_str(),
                IsWindowVisible(button) ? "" : " hidden", IsWindowEnabled(button) ? "" : " disabled");
    return kActionFailed;
  }
  // Read before the click: the dialog may be gone a moment after it.
  const std::string label = WindowText(button);
  if (!PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                    reinterpret_cast<LPARAM>(button))) {
    std::printf("failed: cannot post the click (error %lu)\n", GetLastError());
    return kActionFailed;
  }
  std::printf("pressed button %d \"%s\"\n", buttonId, label.c_str());
  return MarkSpent(dialog) ? kFound : kActionFailed;
}

// Keys go to the control that has the focus in the dialog's thread, the way
// the keyboard delivers them, so the dialog's own handling of Enter, Esc and
// Alt with a letter (a button's mnemonic) decides what they do.
int TypeKey(HWND dialog, const char* keyName) {
  WORD key;
  UINT down = WM_KEYDOWN, up = WM_KEYUP;
  LPARAM context = 0;
  if (std::strcmp(keyName, "enter") == 0) {
    key = VK_RETURN;
  } else if (std::strcmp(keyName, "esc") == 0) {
    key = VK_ESCAPE;
  } else if (std::strncmp(keyName, "alt+", 4) == 0 && std::isalpha(keyName[4]) && !keyName[5]) {
    key = static_cast<WORD>(std::toupper(keyName[4]));
    down = WM_SYSKEYDOWN;
    up = WM_SYSKEYUP;
    context = 1 << 29;  // Alt is down
  } else {
    return Usage("the key is enter, esc or alt+<letter>");
  }
  GUITHREADINFO info;
  info.cbSize = sizeof info;
  HWND target = dialog;
  if (GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) &&
      info.hwndFocus != nullptr && (info.hwndFocus == dialog || IsChild(dialog, info.hwndFocus))) {
    target = info.hwndFocus;
  }
  const UINT scan = MapVirtualKeyA(key, 0);
  if (!PostMessageA(target, down, key, 1 | (scan << 16) | context) ||
      !PostMessageA(target, up, key, 1 | (scan << 16) | context | 0xC0000000u)) {
    std::printf("failed: cannot post the key (error %lu)\n", GetLastError());
    return kActionFailed;
  }
  std::printf("typed %s into window %s\n", keyName, HwndText(target).c_str());
  return MarkSpent(dialog) ? kFound : kActionFailed;
}

struct StateName {
  DWORD state;
  const char* name;
};

const StateName kStates[] = {
    {SERVICE_STOPPED, "stopped"},          {SERVICE_START_PENDING, "start-pending"},
    {SERVICE_STOP_PENDING, "stop-pending"}, {SERVICE_RUNNING, "running"},
    {SERVICE_CONTINUE_PENDING, "continue-pending"}, {SERVICE_PAUSE_PENDING, "pause-pending"},
    {SERVICE_PAUSED, "paused"},
};
const DWORD kStateAbsent = 0;

const char* StateText(DWORD state) {
  if (state == kStateAbsent) return "absent";
  for (const StateName& known : kStates) {
    if (known.state == state) return known.name;
  }
  return "unknown";
}

// The service's current state, kStateAbsent when there is no such service.
bool QueryState(const char* name, DWORD* state) {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
  if (manager == nullptr) {
    std::printf("failed: cannot open the service manager (error %lu)\n", GetLastError());
    return false;
  }
  bool ok = true;
  SC_HANDLE service = OpenServiceA(manager, name, SERVICE_QUERY_STATUS);
  if (service == nullptr) {
    if (GetLastError() == ERROR_SERVICE_DOES_NOT_EXIST) {
      *state = kStateAbsent;
    } else {
      std::printf("failed: cannot open service %s (error %lu)\n", name, GetLastError());
      ok = false;
    }
  } else {
    SERVICE_STATUS status;
    if (QueryServiceStatus(service, &status)) {
      *state = status.dwCurrentState;
    } else {
      std::printf("failed: cannot query service %s (error %lu)\n", name, GetLastError());
      ok = false;
    }
    CloseServiceHandle(service);
  }
  CloseServiceHandle(manager);
  return ok;
}

int WaitForService(const char* name, const char* wanted, DWORD timeoutMs) {
  DWORD wantedState = kStateAbsent;
  bool known = std::strcmp(wanted, "absent") == 0;
  for (const StateName& state : kStates) {
    if (std::strcmp(state.name, wanted) == 0) {
      wantedState = state.state;
      known = true;
    }
  }
  if (!known) return Usage("unknown service state");
  const DWORD start = GetTickCount();
  DWORD state = kStateAbsent;
  for (;;) {
    if (!QueryState(name, &state)) return kActionFailed;
    if (state == wantedState) {
      std::printf("service %s is %s\n", name, StateText(state));
      return kFound;
    }
    if (GetTickCount() - start >= timeoutMs) break;
    Sleep(kPollMs * 5);
  }
  std::printf("timeout: service %s is %s, not %s, after %lu ms\n", name, StateText(state), wanted,
              timeoutMs);
  return kTimeout;
}

int PrintFileVersion(const char* file) {
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(file, &ignored);
  std::vector<char> info(size ? size : 1);
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (size == 0 || !GetFileVersionInfoA(file, 0, size, info.data()) ||
      !VerQueryValueA(info.data(), "\\", reinterpret_cast<LPVOID*>(&fixed), &length) || !fixed) {
    std::printf("failed: no version resource in %s (error %lu)\n", file, GetLastError());
    return kActionFailed;
  }
  std::printf("file version %u.%u.%u.%u\n", HIWORD(fixed->dwFileVersionMS),
              LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS),
              LOWORD(fixed->dwFileVersionLS));
  return kFound;
}

int Run(int argc, char** argv) {
  if (argc < 2) return Usage("no command");
  const std::string command = argv[1];
  if (command == "list") {
    PrintAll("");
    return kFound;
  }
  if (command == "codepage") {
    std::printf("ANSI code page %u\n", GetACP());
    return kFound;
  }
  if (command == "fileversion") {
    if (argc != 3) return Usage("fileversion takes a file");
    return PrintFileVersion(argv[2]);
  }
  if (command == "activate-frame") {
    // As the taskbar or Alt+Tab would: the frame window made the foreground one.
    HWND frame = FindWindowA("StfSetupFrame", nullptr);
    if (frame == nullptr || !SetForegroundWindow(frame)) {
      std::printf("failed: cannot activate the frame window (error %lu)\n", GetLastError());
      return kActionFailed;
    }
    std::printf("activated the frame window %s\n", HwndText(frame).c_str());
    return kFound;
  }
  if (command == "gauge" || command == "release") {
    DWORD number = 0, timeoutMs = kDefaultTimeoutMs;
    if (argc < 3 || argc > 4 || !ParseNumber(argv[2], &number) ||
        (argc == 4 && !ParseNumber(argv[3], &timeoutMs))) {
      return Usage("gauge takes a percentage and an optional timeout, release a thread");
    }
    return command == "gauge" ? HoldGauge(number, timeoutMs) : Release(number);
  }
  if (command == "service") {
    DWORD timeoutMs = kDefaultTimeoutMs;
    if (argc < 4 || argc > 5 || (argc == 5 && !ParseNumber(argv[4], &timeoutMs))) {
      return Usage("service takes a name, a state and an optional timeout");
    }
    return WaitForService(argv[2], argv[3], timeoutMs);
  }

  if (command == "reading") {
    DWORD dialogId = 0, controlId = 0, points = 8;
    if (argc < 4 || argc > 6 || !ParseNumber(argv[2], &dialogId) ||
        !ParseNumber(argv[3], &controlId) || (argc == 6 && !ParseNumber(argv[5], &points))) {
      return Usage("reading takes a dialog, a control, and optionally a face and its points");
    }
    HWND dialog = WaitForDialog(dialogId, kDefaultTimeoutMs);
    if (dialog == nullptr) return kTimeout;
    return Reading(dialog, static_cast<int>(controlId), argc >= 5 ? argv[4] : "MS Shell Dlg",
                   static_cast<int>(points));
  }
  if (command != "wait" && command != "press" && command != "key") return Usage("unknown command");
  DWORD dialogId = 0;
  if (argc < 3 || !ParseNumber(argv[2], &dialogId)) return Usage("no dialog number");
  const int fixedArgs = command == "wait" ? 3 : 4;
  DWORD timeoutMs = kDefaultTimeoutMs;
  if (argc < fixedArgs || argc > fixedArgs + 1 ||
      (argc == fixedArgs + 1 && !ParseNumber(argv[fixedArgs], &timeoutMs))) {
    return Usage("wrong number of arguments");
  }
  DWORD buttonId = 0;
  if (command == "press" && !ParseNumber(argv[3], &buttonId)) return Usage("no button number");

  // A window that closes between the look and the action (a box of no number
  // going as another comes up) was not the one to answer: look again.
  for (int tries = 0;; ++tries) {
    HWND dialog = WaitForDialog(dialogId, timeoutMs);
    if (dialog == nullptr) return kTimeout;
    int result = kFound;
    if (command == "press") result = Press(dialog, static_cast<int>(buttonId));
    if (command == "key") result = TypeKey(dialog, argv[3]);
    if (result != kActionFailed || IsWindow(dialog) || tries == 4) return result;
    std::printf("window %s went away before the action; looking again\n", HwndText(dialog).c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  int result = Run(argc, argv);
  std::printf("robot: exit %d\n", result);
  std::fflush(stdout);
  return result;
}
