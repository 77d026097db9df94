// Which language the windows speak, chosen the way Windows chooses the
// resources of a program: the language asked for on the command line, else
// the user's UI language (the user's default language on Windows NT 4.0,
// which has no separate UI language), matched exactly, then by its primary
// language in the same script (language_script.h), then English.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace stf {

// A language the dialog library holds texts for.
struct Language {
  unsigned short langId;  // LANGID of its resources, e.g. 0x0407
  std::string tag;        // "de", "pt-BR"
  std::string name;       // in English, for the log: "German"
};

enum class LanguageReason {
  kSwitch,       // /lang
  kUiLanguage,   // the user's UI language
  kUserDefault,  // the user's default language (Windows NT 4.0)
  kFallback,     // none of ours matches the system's: English
  kOtherScript,  // ours of its primary language are in another script: English
  kNoWindow,     // a quiet run without /lang shows nothing: English, the log's
};

// How the language chosen matched the one asked for or the system's.
enum class LanguageMatch { kExact, kPrimary, kPrimaryAndScript };

struct LanguageChoice {
  std::size_t index = 0;  // into the languages offered
  LanguageReason reason = LanguageReason::kFallback;
  LanguageMatch match = LanguageMatch::kExact;
};

// The system's side of the choice.
struct SystemLanguage {
  unsigned short langId = 0;  // 0: unknown
  bool isUiLanguage = true;   // false: the NT 4.0 fallback
};

// Chooses among languages (at least one). requested is the /lang value, empty
// when none was given: a tag ("de", "PT-br", "de-AT"), or a LANGID in decimal
// ("1031") or hexadecimal ("0x0407"). False when it names no language offered;
// *problem then says so and lists the languages.
bool ChooseLanguage(const std::vector<Language>& languages, const std::string& requested,
                    const SystemLanguage& system, LanguageChoice* choice, std::string* problem);

// The choice of a run that shows no window and was not given /lang: nothing
// is shown, so no language is looked for; English, in which it writes the log
// and standard error. Its languages need not be read.
LanguageChoice WindowlessLanguage(std::vector<Language>* languages);

// "German (UI language 0x0C07, by primary language), ANSI code page 1252":
// the log's account of the choice, naming the rule that made it.
std::string DescribeLanguageChoice(const std::vector<Language>& languages,
                                   const LanguageChoice& choice, const std::string& requested,
                                   const SystemLanguage& system, unsigned codePage);

}  // namespace stf
