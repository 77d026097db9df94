// Opens every dialog of the dialog library in every language it holds, as
// the toolkit does, and checks what a person would see: each control shows
// its language's text unchanged (no character lost to a code page), each
// text fits its control (wrapped texts their height, buttons and the caption
// their width), and no two controls overlap. Run from the disk folder, on a
// display. Prints a line per problem and "text probe: N problem(s)" last.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/dialogs/dialog_ids.h"
#include "platform/dialogs/text_ids.h"
#include "platform/setup-toolkit/language_resources.h"

namespace {

struct Entry {
  UINT dialog;
  int control;
  UINT text;
};
const Entry kTexts[] = {
#define DIALOG_TEXT(dialog, control, text) {dialog, control, text},
#include "platform/dialogs/dialog_texts.h"
#undef DIALOG_TEXT
};
const UINT kDialogs[] = {DLG_WELCOME,         DLG_QUIT,           DLG_FATAL,
                         DLG_RESTART,         DLG_REGISTRATION_FAILED, DLG_NO_WINDOWS_DIR,
                         DLG_REMOVE_CONFIRM,  DLG_REMOVED_RESTART, DLG_REMOVED,
                         DLG_NOT_INSTALLED,   DLG_BILLBOARD};

int problems = 0;

void Problem(WORD language, UINT dialog, int control, const char* what, const std::wstring& text) {
  char shown[512] = "";
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, shown, sizeof shown, nullptr, nullptr);
  std::printf("language 0x%04X dialog %u control %d: %s: \"%s\"\n", language, dialog, control, what,
              shown);
  ++problems;
}

std::wstring Text(HWND window) {
  WCHAR text[2048] = L"";
  GetWindowTextW(window, text, 2048);
  return text;
}

RECT Place(HWND dialog, HWND child) {
  RECT rect;
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// The size the text takes in the control's font: wrapped to its width, or on one line.
SIZE Need(HWND control, const std::wstring& text, int width, bool oneLine) {
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  RECT need = {0, 0, width, 0};
  DrawTextW(dc, text.c_str(), -1, &need, DT_CALCRECT | (oneLine ? DT_SINGLELINE : DT_WORDBREAK));
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return SIZE{need.right - need.left, need.bottom - need.top};
}

bool IsButton(HWND control) {
  char name[16] = "";
  GetClassNameA(control, name, sizeof name);
  return lstrcmpiA(name, "Button") == 0;
}

void CheckFit(WORD language, UINT id, HWND dialog) {
  std::vector<std::pair<int, RECT>> shown;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    const int control = GetDlgCtrlID(child);
    const RECT rect = Place(dialog, child);
    for (const auto& other : shown) {
      RECT overlap;
      if (IntersectRect(&overlap, &rect, &other.second)) Problem(language, id, control, "overlaps another", Text(child));
    }
    shown.push_back({control, rect});
    const std::wstring text = Text(child);
    if (text.empty()) continue;
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    const bool button = IsButton(child);
    const SIZE need = Need(child, text, button ? 0 : width, button);
    const int margin = button ? 2 * GetSystemMetrics(SM_CXEDGE) : 0;
    if (need.cx + margin > width || need.cy > height) Problem(language, id, control, "clipped", text);
  }
  // The caption beside the icon and the close box.
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  HFONT font = CreateFontIndirectW(&metrics.lfCaptionFont);
  HDC dc = GetDC(dialog);
  HGDIOBJ old = SelectObject(dc, font);
  const std::wstring caption = Text(dialog);
  SIZE size;
  GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(dialog, dc);
  DeleteObject(font);
  RECT window;
  GetWindowRect(dialog, &window);
  if (size.cx + 3 * GetSystemMetrics(SM_CXSIZE) > window.right - window.left) {
    Problem(language, id, 0, "caption clipped", caption);
  }
}

// Each control the table names shows the language's string as it is.
void CheckTexts(HMODULE library, WORD language, UINT id, HWND dialog) {
  for (const Entry& entry : kTexts) {
    if (entry.dialog != id) continue;
    HWND window = entry.control == 0 ? dialog : GetDlgItem(dialog, entry.control);
    if (window == nullptr || !IsWindowVisible(window)) continue;
    std::wstring expected = StfLanguageString(library, language, entry.text);
    if (entry.control == 0) {
      expected = StfCaptionText(
          expected, StfLanguageString(library, language, IDS_LANGUAGE_RIGHT_TO_LEFT) == L"1");
    }
    const std::wstring seen = Text(window);
    if (entry.control != IDC_LOG && seen != expected) Problem(language, id, entry.control, "shows", seen);
  }
}

BOOL CALLBACK AddLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR param) {
  reinterpret_cast<std::vector<WORD>*>(param)->push_back(language);
  return TRUE;
}

}  // namespace

int main() {
  HMODULE library = LoadLibraryA("mscuistf.dll");
  auto setSymbol = reinterpret_cast<BOOL(WINAPI*)(LPCSTR, LPCSTR)>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("MSSHLSTF.dll") ? GetModuleHandleA("MSSHLSTF.dll")
                                                                              : LoadLibraryA("MSSHLSTF.dll"),
                                             "FSetSymbolValue")));
  if (library == nullptr || setSymbol == nullptr) {
    std::printf("text probe: cannot load mscuistf.dll or MSSHLSTF.dll (error %lu)\n", GetLastError());
    return 2;
  }
  std::vector<WORD> languages;
  EnumResourceLanguagesW(library, MAKEINTRESOURCEW(6), MAKEINTRESOURCEW(IDS_LANGUAGE_TAG / 16 + 1),
                         AddLanguage, reinterpret_cast<LONG_PTR>(&languages));
  for (WORD language : languages) {
    char value[16];
    std::snprintf(value, sizeof value, "%u", language);
    setSymbol("STF_LANGUAGE", value);
    for (UINT id : kDialogs) {
      const char* name = id == DLG_BILLBOARD ? "FModelessDlgProc" : "FInfoDlgProc";
      auto procedure = reinterpret_cast<DLGPROC>(reinterpret_cast<void*>(GetProcAddress(library, name)));
      HWND dialog = CreateDialogParamW(library, MAKEINTRESOURCEW(id), nullptr, procedure, id);
      if (dialog == nullptr) {
        Problem(language, id, 0, "cannot be opened", L"");
        continue;
      }
      CheckTexts(library, language, id, dialog);
      CheckFit(language, id, dialog);
      DestroyWindow(dialog);
    }
    std::printf("language 0x%04X: %zu dialogs measured\n", language, sizeof kDialogs / sizeof kDialogs[0]);
  }
  std::printf("text probe: %d problem(s) in %zu language(s)\n", problems, languages.size());
  return problems == 0 && !languages.empty() ? 0 : 1;
}
