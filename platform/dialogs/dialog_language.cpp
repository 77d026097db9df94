#include "platform/dialogs/dialog_language.h"

#include <cwchar>
#include <map>

#include "platform/dialogs/dialog_ids.h"
#include "platform/dialogs/dialog_layout.h"
#include "platform/dialogs/dialog_report.h"
#include "platform/dialogs/text_ids.h"
#include "platform/setup-toolkit/stf_internal.h"

namespace {

const WORD kEnglish = 0x0409;

struct DialogTextEntry {
  UINT dialog;
  int control;  // 0: the caption
  UINT text;
};

const DialogTextEntry kDialogTexts[] = {
#define DIALOG_TEXT(dialog, control, text) {dialog, control, text},
#include "platform/dialogs/dialog_texts.h"
#undef DIALOG_TEXT
};

HMODULE ThisLibrary() {
  HMODULE module = nullptr;
  // The address of a function of ours names our module (no newer API needed).
  MEMORY_BASIC_INFORMATION info;
  if (VirtualQuery(reinterpret_cast<void*>(&ThisLibrary), &info, sizeof info) != 0) {
    module = static_cast<HMODULE>(info.AllocationBase);
  }
  return module;
}

WORD Language() {
  const WORD chosen = StfLanguageId();
  return chosen != 0 ? chosen : kEnglish;
}

// Each language's font is made once and kept for the life of the process
// (a process that shows more than one language keeps each).
HFONT LanguageFont(HWND hdlg) {
  static std::map<WORD, HFONT> fonts;
  const auto made = fonts.find(Language());
  if (made != fonts.end()) return made->second;
  HFONT& font = fonts[Language()];
  const std::wstring face = DialogText(IDS_LANGUAGE_FONT);
  const int points =
      static_cast<int>(std::wcstol(DialogText(IDS_LANGUAGE_FONT_SIZE).c_str(), nullptr, 10));
  if (face.empty() || (face == L"MS Shell Dlg" && points == 8)) return font;  // the template's
  HDC dc = GetDC(hdlg);
  const int height = -MulDiv(points > 0 ? points : 8, dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96, 72);
  if (dc != nullptr) ReleaseDC(hdlg, dc);
  font = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, face.c_str());
  if (font == nullptr) ReportProblem(hdlg, "cannot make the language's dialog font", GetLastError());
  return font;
}

}  // namespace

bool RightToLeft() { return DialogText(IDS_LANGUAGE_RIGHT_TO_LEFT) == L"1"; }

namespace {

// A right-to-left language's texts read from the right on every Windows
// (StfReadFromRight); the toolkit mirrors the dialog itself where Windows can
// (2000 and later). Windows NT 4.0 cannot: there the other controls line up
// on the right and the caption reads from the right as well.
void ReadRightToLeft(HWND hdlg) {
  const bool mirrored = (GetWindowLongW(hdlg, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
  if (!mirrored) {
    SetWindowLongW(hdlg, GWL_EXSTYLE, GetWindowLongW(hdlg, GWL_EXSTYLE) | WS_EX_RTLREADING);
  }
  for (HWND child = GetWindow(hdlg, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (IsText(child)) {
      StfReadFromRight(child);
    } else if (!mirrored) {
      SetWindowLongW(child, GWL_EXSTYLE,
                     GetWindowLongW(child, GWL_EXSTYLE) | WS_EX_RTLREADING | WS_EX_RIGHT);
    }
  }
}

}  // namespace

std::wstring DialogText(UINT id) {
  std::wstring text = StfLanguageString(ThisLibrary(), Language(), id);
  if (text.empty()) text = StfLanguageString(ThisLibrary(), kEnglish, id);
  return text;
}

void ShowDialogTexts(HWND hdlg, UINT dialogId) {
  for (const DialogTextEntry& entry : kDialogTexts) {
    if (entry.dialog != dialogId) continue;
    const std::wstring text = DialogText(entry.text);
    const BOOL done = entry.control == 0
                          ? SetWindowTextW(hdlg, StfCaptionText(text, RightToLeft()).c_str())
                          : SetDlgItemTextW(hdlg, entry.control, text.c_str());
    if (!done) ReportProblem(hdlg, "cannot show a text of the language", GetLastError());
  }
  HFONT font = LanguageFont(hdlg);
  if (font != nullptr) {
    for (HWND child = GetWindow(hdlg, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
      SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
  }
  if (RightToLeft()) ReadRightToLeft(hdlg);
}
