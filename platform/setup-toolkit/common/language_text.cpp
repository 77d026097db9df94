// The toolkit's texts in the language the frame chose: read from the dialog
// library's language files, which hold every text a person sees.
#include <cstdlib>
#include <string>

#include "platform/setup-toolkit/common/common_state.h"
#include "platform/setup-toolkit/language_resources.h"

namespace {

const WORD kEnglish = 0x0409;

// The dialog library, checked and loaded for its resources only, as the frame
// hands it once the language is chosen; English until then, and in a run
// without windows, which shows no text. Handed, not loaded here: the check
// of a disk file speaks in the language itself.
HMODULE languageLibrary = nullptr;

HMODULE LanguageLibrary() { return languageLibrary; }

WORD ChosenLanguage() {
  std::string chosen;
  Symbols().Get(STF_SYM_LANGUAGE, &chosen);
  return static_cast<WORD>(std::strtoul(chosen.c_str(), nullptr, 10));
}

struct EnglishSearch {
  std::wstring wanted;
  UINT id;
};

// One block of the English string table: its 16 texts against the one wanted.
BOOL CALLBACK SearchBlock(HMODULE module, LPCWSTR, LPWSTR name, LONG_PTR param) {
  if (!IS_INTRESOURCE(name)) return TRUE;
  auto* search = reinterpret_cast<EnglishSearch*>(param);
  HRSRC found = FindResourceExW(module, MAKEINTRESOURCEW(6), name, kEnglish);  // RT_STRING
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const WCHAR* p = loaded ? static_cast<const WCHAR*>(LockResource(loaded)) : nullptr;
  if (p == nullptr) return TRUE;
  const UINT first = (static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name)) - 1) * 16;
  for (UINT i = 0; i < 16; p += 1 + *p, ++i) {
    if (*p != 0 && search->wanted.compare(0, std::wstring::npos, p + 1, *p) == 0) {
      search->id = first + i;
      return FALSE;
    }
  }
  return TRUE;
}

// The language's form of a text the English file holds; false when it holds
// no such text, or there is no file.
bool Spoken(const std::string& english, std::wstring* text) {
  HMODULE library = LanguageLibrary();
  EnglishSearch search{StfWideText(english), 0};
  if (library == nullptr || search.wanted.empty()) return false;
  EnumResourceNamesW(library, MAKEINTRESOURCEW(6), SearchBlock,
                     reinterpret_cast<LONG_PTR>(&search));
  if (search.id == 0) return false;
  WCHAR form[4096];
  StfLanguageText(search.id, search.wanted.c_str(), form, 4096);
  *text = form;
  return true;
}

INT CopyWide(const std::wstring& text, LPWSTR out, INT size) {
  if (out == nullptr || size <= 0) return 0;
  lstrcpynW(out, text.c_str(), size);
  return lstrlenW(out);
}

}  // namespace

std::wstring SpokenText(const std::string& english) {
  std::wstring spoken;
  return Spoken(english, &spoken) ? spoken : StfWideText(english);
}

// A failure's caption is the title's own when the files word it ("Merlox IDE
// CD-ROM Drive Setup Error"), else the title: the stop icon says the rest.
std::wstring SpokenTitle(bool error) {
  std::wstring spoken;
  if (error && Spoken(StfErrorCaption(), &spoken)) return spoken;
  return SpokenText(StfTitle());
}

extern "C" {

void STFAPI StfSetLanguageLibrary(HMODULE library) { languageLibrary = library; }

INT STFAPI StfLanguageText(UINT id, LPCWSTR english, LPWSTR text, INT size) {
  if (text == nullptr || size <= 0) return 0;
  const WORD language = ChosenLanguage();
  std::wstring found = LanguageLibrary() != nullptr && language != 0
                           ? StfLanguageString(LanguageLibrary(), language, id)
                           : std::wstring();
  if (found.empty()) found = english != nullptr ? english : L"";
  return CopyWide(found, text, size);
}

// A box in a right-to-left language reads from the right, as its dialogs do.
UINT STFAPI StfLanguageBoxStyle(void) {
  WCHAR flag[4];
  StfLanguageText(IDS_LANGUAGE_RIGHT_TO_LEFT, L"0", flag, 4);
  return flag[0] == L'1' && flag[1] == L'\0' ? MB_RTLREADING | MB_RIGHT : 0;
}

INT STFAPI StfSpokenText(LPCSTR english, LPWSTR text, INT size) {
  return CopyWide(SpokenText(english != nullptr ? english : ""), text, size);
}

INT STFAPI StfSpokenTitle(BOOL error, LPWSTR text, INT size) {
  return CopyWide(SpokenTitle(error != FALSE), text, size);
}

}  // extern "C"
