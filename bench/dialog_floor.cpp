// The least any GUI installer does before its first page: one dialog from a
// template in memory, shown at once. scripts/bench times it to its first
// dialog beside setup.exe and the NSIS installer: what a window costs under
// Wine (the display driver, the theme, the input method) is in all three.
#include <windows.h>

namespace {

INT_PTR CALLBACK Page(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // A template with no menu, class, title or controls: the header and three empty words.
  static WORD words[16];
  auto* page = reinterpret_cast<DLGTEMPLATE*>(words);
  page->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_CENTER;
  page->cx = 200;
  page->cy = 100;
  return static_cast<int>(DialogBoxIndirectParamA(instance, page, nullptr, Page, 0));
}
