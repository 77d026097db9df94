#include "language_choice.h"

#include "ansi_text.h"
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

// Exactly, then by primary language; kNone when neither.
std::size_t MatchLangId(const std::vector<Language>& languages, unsigned langId) {
  for (std::size_t i = 0; i < languages.size(); ++i) {
    if (languages[i].langId == langId) return i;
  }
  for (std::size_t i = 0; i < languages.size(); ++i) {
    if (Primary(languages[i].langId) == Primary(langId)) return i;
  }
  return kNone;
}

std::size_t MatchTag(const std::vector<Language>& languages, const std::string& tag) {
  std::string wanted = tag;
  for (char& c : wanted) c = c == '_' ? '-' : c;
  for (std::size_t i = 0; i < languages.size(); ++i) {
    if (EqualsNoCase(languages[i].tag, wanted)) return i;
  }
  for (std::size_t i = 0; i < languages.size(); ++i) {
    if (EqualsNoCase(PrimaryTag(languages[i].tag), PrimaryTag(wanted))) return i;
  }
  return kNone;
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

bool ChooseLanguage(const std::vector<Language>& languages, const std::string& requested,
                    const SystemLanguage& system, LanguageChoice* choice, std::string* problem) {
  if (!requested.empty()) {
    unsigned langId = 0;
    const std::size_t found = ParseLangId(requested, &langId) ? MatchLangId(languages, langId)
                                                              : MatchTag(languages, requested);
    if (found == kNone) {
      *problem = "/lang " + requested + " names no language of this program; it speaks " +
                 Offered(languages);
      return false;
    }
    *choice = {found, LanguageReason::kSwitch};
    return true;
  }
  const std::size_t found = system.langId != 0 ? MatchLangId(languages, system.langId) : kNone;
  if (found == kNone) {
    *choice = {English(languages), LanguageReason::kFallback};
  } else {
    *choice = {found, system.isUiLanguage ? LanguageReason::kUiLanguage
                                          : LanguageReason::kUserDefault};
  }
  return true;
}

std::string DescribeLanguageChoice(const std::vector<Language>& languages,
                                   const LanguageChoice& choice, const std::string& requested,
                                   const SystemLanguage& system, unsigned codePage) {
  std::string why;
  switch (choice.reason) {
    case LanguageReason::kSwitch:
      why = "/lang " + requested;
      break;
    case LanguageReason::kUiLanguage:
      why = "UI language";
      break;
    case LanguageReason::kUserDefault:
      why = "the user's default language";
      break;
    case LanguageReason::kFallback:
      why = system.langId == 0 ? "the system's language is unknown"
                               : "no texts for the system's language " + Hex(system.langId);
      break;
  }
  return languages[choice.index].name + " (" + why + "), ANSI code page " +
         std::to_string(codePage);
}

}  // namespace stf
