#include "language_choice.h"

#include "ansi_text.h"
#include "language_script.h"
#include "number_text.h"

namespace stf {
namespace {

constexpr unsigned kPrimaryMask = 0x3FF;
constexpr unsigned kLangEnglish = 0x09;
constexpr std::size_t kNone = static_cast<std::size_t>(-1);

unsigned Primary(unsigned langId) { return langId & kPrimaryMask; }

std::string PrimaryTag(const std::string& tag) {
  return tag.substr(0, tag.find_first_of("-_"));
}

// A LANGID written in decimal or as 0x followed by hexadecimal digits.
bool ParseLangId(const std::string& text, unsigned* out) {
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const std::string digits = hex ? text.substr(2) : text;
  if (digits.empty() || digits.size() > 5) return false;
  unsigned value = 0;
  for (char c : digits) {
    unsigned digit;
    if (c >= '0' && c <= '9') {
      digit = static_cast<unsigned>(c - '0');
    } else if (hex && ToUpperAscii(c) >= 'A' && ToUpperAscii(c) <= 'F') {
      digit = static_cast<unsigned>(ToUpperAscii(c) - 'A' + 10);
    } else {
      return false;
    }
    value = value * (hex ? 16 : 10) + digit;
  }
  if (value == 0 || value > 0xFFFF) return false;
  *out = value;
  return true;
}

// What a search among the languages offered found.
struct Found {
  std::size_t index = kNone;
  LanguageMatch match = LanguageMatch::kExact;
  bool otherScript = false;  // the primary language is there, but in another script
};

// Of a language offered against the one wanted: the same primary language,
// and a script that may stand in for the wanted one.
template <typename SamePrimary>
Found ByPrimary(const std::vector<Language>& languages, Script wanted, SamePrimary samePrimary) {
  Found found;
  for (std::size_t i = 0; i < languages.size(); ++i) {
    if (!samePrimary(languages[i])) continue;
    const Script script = ScriptOfLangId(languages[i].langId);
    if (!SameScript(script, wanted)) {
      found.otherScript = true;
      continue;
    }
    found.index = i;
    found.match = script == Script::kAny || wanted == Script::kAny
                      ? LanguageMatch::kPrimary
                      : LanguageMatch::kPrimaryAndScript;
    return found;
  }
  return found;
}

Found MatchLangId(const std::vector<Language>& languages, unsigned langId) {
  for (std::size_t i = 0; i < languages.size(); ++i) {
    if (languages[i].langId == langId) return {i, LanguageMatch::kExact, false};
  }
  return ByPrimary(languages, ScriptOfLangId(langId),
                   [langId](const Language& l) { return Primary(l.langId) == Primary(langId); });
}

Found MatchTag(const std::vector<Language>& languages, const std::string& tag) {
  std::string wanted = tag;
  for (char& c : wanted) c = c == '_' ? '-' : c;
  for (std::size_t i = 0; i < languages.size(); ++i) {
    if (EqualsNoCase(languages[i].tag, wanted)) return {i, LanguageMatch::kExact, false};
  }
  const std::string primary = PrimaryTag(wanted);
  return ByPrimary(languages, ScriptOfTag(wanted), [&primary](const Language& l) {
    return EqualsNoCase(PrimaryTag(l.tag), primary);
  });
}

std::size_t English(const std::vector<Language>& languages) {
  for (std::size_t i = 0; i < languages.size(); ++i) {
    if (Primary(languages[i].langId) == kLangEnglish) return i;
  }
  return 0;
}

std::string Offered(const std::vector<Language>& languages) {
  std::string list;
  for (const Language& language : languages) {
    if (!list.empty()) list += ", ";
    list += language.tag + " (" + language.name + ")";
  }
  return list;
}

std::string Hex(unsigned langId) { return "0x" + HexText(langId & 0xFFFF, 4, HexCase::kUpper); }

}  // namespace

LanguageChoice WindowlessLanguage(std::vector<Language>* languages) {
  *languages = {{0x0409, "en", "English"}};
  return {0, LanguageReason::kNoWindow, LanguageMatch::kExact};
}

bool ChooseLanguage(const std::vector<Language>& languages, const std::string& requested,
                    const SystemLanguage& system, LanguageChoice* choice, std::string* problem) {
  if (!requested.empty()) {
    unsigned langId = 0;
    const Found found = ParseLangId(requested, &langId) ? MatchLangId(languages, langId)
                                                        : MatchTag(languages, requested);
    if (found.index == kNone) {
      *problem = "/lang " + requested + " names no language of this program" +
                 (found.otherScript ? " in its script" : "") + "; it speaks " + Offered(languages);
      return false;
    }
    *choice = {found.index, LanguageReason::kSwitch, found.match};
    return true;
  }
  const Found found = system.langId != 0 ? MatchLangId(languages, system.langId) : Found();
  if (found.index == kNone) {
    *choice = {English(languages),
               found.otherScript ? LanguageReason::kOtherScript : LanguageReason::kFallback,
               LanguageMatch::kExact};
  } else {
    *choice = {found.index,
               system.isUiLanguage ? LanguageReason::kUiLanguage : LanguageReason::kUserDefault,
               found.match};
  }
  return true;
}

std::string DescribeLanguageChoice(const std::vector<Language>& languages,
                                   const LanguageChoice& choice, const std::string& requested,
                                   const SystemLanguage& system, unsigned codePage) {
  const char* const rule[] = {"", ", by primary language", ", by primary language and script"};
  const std::string how = rule[static_cast<int>(choice.match)];
  std::string why;
  switch (choice.reason) {
    case LanguageReason::kSwitch:
      why = "/lang " + requested + how;
      break;
    case LanguageReason::kUiLanguage:
      why = "UI language " + Hex(system.langId) + how;
      break;
    case LanguageReason::kUserDefault:
      why = "the user's default language " + Hex(system.langId) + how;
      break;
    case LanguageReason::kFallback:
      why = system.langId == 0 ? "the system's language is unknown"
                               : "no texts for the system's language " + Hex(system.langId);
      break;
    case LanguageReason::kNoWindow:
      why = "a quiet run shows no window; UI language " + Hex(system.langId);
      break;
    case LanguageReason::kOtherScript:
      why = "no texts in " + std::string(ScriptName(ScriptOfLangId(system.langId))) +
            " for the system's language " + Hex(system.langId);
      break;
  }
  return languages[choice.index].name + " (" + why + "), ANSI code page " +
         std::to_string(codePage);
}

}  // namespace stf
