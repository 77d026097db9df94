#include "platform/setup-toolkit/shell/language_setup.h"

#include <vector>

#include "language_choice.h"
#include "platform/setup-toolkit/language_resources.h"
#include "platform/setup-toolkit/stf_internal.h"

namespace {

struct Offer {
  HMODULE library;
  std::vector<stf::Language> languages;
};

BOOL CALLBACK AddLanguage(HMODULE library, LPCSTR, LPCSTR, WORD langId, LONG_PTR param) {
  auto* offer = reinterpret_cast<Offer*>(param);
  stf::Language language{langId, StfLanguageAscii(library, langId, IDS_LANGUAGE_TAG),
                         StfLanguageAscii(library, langId, IDS_LANGUAGE_NAME)};
  if (!language.tag.empty()) offer->languages.push_back(language);
  return TRUE;
}

// English alone when the library or its languages cannot be read: the
// dialogs then fail with their own error, which names the library.
std::vector<stf::Language> OfferedLanguages() {
  // Checked once and kept (StfLoadDiskLibrary), as for the language's texts.
  Offer offer{StfLoadDiskLibrary(STF_DIALOG_LIBRARY, LOAD_LIBRARY_AS_DATAFILE), {}};
  if (offer.library == nullptr) {
    StfLogError("Cannot read the languages of " STF_DIALOG_LIBRARY " (LoadLibraryExA)",
                GetLastError());
  } else {
    // Every language's file starts its string table with the block of the tag.
    if (!EnumResourceLanguagesA(offer.library, MAKEINTRESOURCEA(6),  // RT_STRING
                                MAKEINTRESOURCEA(IDS_LANGUAGE_TAG / 16 + 1), AddLanguage,
                                reinterpret_cast<LONG_PTR>(&offer))) {
      StfLogError("Cannot read the languages of " STF_DIALOG_LIBRARY " (EnumResourceLanguagesA)",
                  GetLastError());
    }
  }
  if (offer.languages.empty()) offer.languages.push_back({0x0409, "en", "English"});
  return offer.languages;
}

// Windows 2000 and later choose resources by the user's UI language; Windows
// NT 4.0 has none and takes the user's default language.
stf::SystemLanguage UserLanguage() {
  typedef LANGID(WINAPI * UiLanguageFn)(void);
  auto uiLanguage = reinterpret_cast<UiLanguageFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetUserDefaultUILanguage")));
  if (uiLanguage != nullptr) return {uiLanguage(), true};
  return {GetUserDefaultLangID(), false};
}

bool RightToLeft(WORD langId) {
  HMODULE library = StfLoadDiskLibrary(STF_DIALOG_LIBRARY, LOAD_LIBRARY_AS_DATAFILE);
  if (library == nullptr) return false;
  const bool rtl = StfLanguageAscii(library, langId, IDS_LANGUAGE_RIGHT_TO_LEFT) == "1";
  return rtl;
}

// Windows 2000 and later mirror every window the process creates from now on;
// on Windows NT 4.0 the dialog library right-aligns the texts instead.
void MirrorWindows() {
  typedef BOOL(WINAPI * SetLayoutFn)(DWORD);
  auto setLayout = reinterpret_cast<SetLayoutFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("user32.dll"), "SetProcessDefaultLayout")));
  if (setLayout == nullptr) return;
  if (!setLayout(1)) {  // LAYOUT_RTL
    StfLogError("Cannot mirror the windows for a right-to-left language (SetProcessDefaultLayout)",
                GetLastError());
    return;
  }
  StfSetSymbol(STF_SYM_MIRROR, "1");
}

}  // namespace

bool ChooseRunLanguage(const std::string& requested, std::string* note, std::string* problem) {
  const stf::SystemLanguage system = UserLanguage();
  std::vector<stf::Language> languages;
  stf::LanguageChoice choice;
  bool chosen = true;
  if (StfWindowless() && requested.empty()) {
    // Nothing is shown: the dialog library is not read at all.
    choice = stf::WindowlessLanguage(&languages);
  } else {
    // A /lang is checked in a quiet run too; one that names none of ours
    // still leaves the windows that say so in the system's language.
    languages = OfferedLanguages();
    chosen = stf::ChooseLanguage(languages, requested, system, &choice, problem);
    std::string unused;
    if (!chosen) stf::ChooseLanguage(languages, "", system, &choice, &unused);
  }
  const WORD langId = languages[choice.index].langId;
  StfSetSymbol(STF_SYM_LANGUAGE, std::to_string(langId).c_str());
  *note = "Language: " + stf::DescribeLanguageChoice(languages, choice, requested, system, GetACP());
  if (!StfWindowless() && RightToLeft(langId)) MirrorWindows();
  return chosen;
}
