// The toolkit's texts in the language the frame chose: read from the dialog
// library's language files, which hold every text a person sees.
#include <cstdlib>
#include <string>

#include "platform/setup-toolkit/common/common_state.h"
#include "platform/setup-toolkit/language_resources.h"

extern "C" INT STFAPI StfLanguageText(UINT id, LPCWSTR english, LPWSTR text, INT size) {
  if (text == nullptr || size <= 0) return 0;
  // Loaded once, checked, for its resources only; kept for the life of the process.
  static HMODULE library = StfLoadDiskLibrary(STF_DIALOG_LIBRARY, LOAD_LIBRARY_AS_DATAFILE);
  std::string chosen;
  Symbols().Get(STF_SYM_LANGUAGE, &chosen);
  const WORD language = static_cast<WORD>(std::strtoul(chosen.c_str(), nullptr, 10));
  std::wstring found = library != nullptr && language != 0 ? StfLanguageString(library, language, id)
                                                           : std::wstring();
  if (found.empty()) found = english != nullptr ? english : L"";
  lstrcpynW(text, found.c_str(), size);
  return lstrlenW(text);
}

// A box in a right-to-left language reads from the right, as its dialogs do.
extern "C" UINT STFAPI StfLanguageBoxStyle(void) {
  WCHAR flag[4];
  StfLanguageText(IDS_LANGUAGE_RIGHT_TO_LEFT, L"0", flag, 4);
  return flag[0] == L'1' && flag[1] == L'\0' ? MB_RTLREADING | MB_RIGHT : 0;
}
