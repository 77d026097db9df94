#include "language_script.h"

#include "ansi_text.h"

namespace stf {
namespace {

constexpr unsigned kChinese = 0x04;
constexpr unsigned kSerbianCroatianBosnian = 0x1A;
constexpr unsigned kUzbek = 0x43;
constexpr unsigned kAzerbaijani = 0x2C;

struct IdScript {
  unsigned langId;
  Script script;
};

// Every other LANGID of these primary languages is in the first script of its row.
const IdScript kExceptions[] = {
    {0x0404, Script::kTraditionalChinese}, {0x0C04, Script::kTraditionalChinese},
    {0x1404, Script::kTraditionalChinese}, {0x7C04, Script::kTraditionalChinese},
    {0x0C1A, Script::kCyrillic}, {0x1C1A, Script::kCyrillic}, {0x201A, Script::kCyrillic},
    {0x281A, Script::kCyrillic}, {0x301A, Script::kCyrillic}, {0x641A, Script::kCyrillic},
    {0x6C1A, Script::kCyrillic}, {0x0843, Script::kCyrillic}, {0x082C, Script::kCyrillic},
};

struct TagScript {
  const char* subtag;
  Script script;
};

const TagScript kScriptSubtags[] = {
    {"Hans", Script::kSimplifiedChinese}, {"Hant", Script::kTraditionalChinese},
    {"Latn", Script::kLatin},             {"Cyrl", Script::kCyrillic},
    // Regions whose Chinese is written in Traditional characters.
    {"TW", Script::kTraditionalChinese},  {"HK", Script::kTraditionalChinese},
    {"MO", Script::kTraditionalChinese},
};

}  // namespace

Script ScriptOfLangId(unsigned langId) {
  for (const IdScript& known : kExceptions) {
    if (known.langId == (langId & 0xFFFF)) return known.script;
  }
  switch (langId & 0x3FF) {
    case kChinese: return Script::kSimplifiedChinese;
    case kSerbianCroatianBosnian:
    case kUzbek:
    case kAzerbaijani: return Script::kLatin;
    default: return Script::kAny;
  }
}

Script ScriptOfTag(const std::string& tag) {
  std::string rest = tag;
  for (char& c : rest) c = c == '_' ? '-' : c;
  const std::string primary = rest.substr(0, rest.find('-'));
  const bool chinese = EqualsNoCase(primary, "zh");
  for (std::size_t at = rest.find('-'); at != std::string::npos; at = rest.find('-', at + 1)) {
    const std::string subtag = rest.substr(at + 1, rest.find('-', at + 1) - at - 1);
    for (const TagScript& known : kScriptSubtags) {
      const bool region = subtag.size() == 2;
      if (EqualsNoCase(subtag, known.subtag) && (chinese || !region)) return known.script;
    }
  }
  return chinese ? Script::kSimplifiedChinese : Script::kAny;
}

bool SameScript(Script a, Script b) { return a == Script::kAny || b == Script::kAny || a == b; }

const char* ScriptName(Script script) {
  switch (script) {
    case Script::kSimplifiedChinese: return "Simplified Chinese";
    case Script::kTraditionalChinese: return "Traditional Chinese";
    case Script::kLatin: return "Latin";
    case Script::kCyrillic: return "Cyrillic";
    default: return "any";
  }
}

}  // namespace stf
