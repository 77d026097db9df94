// The writing system of a language, where one primary language is written in
// more than one: Chinese in Simplified and Traditional characters, Serbian,
// Bosnian, Uzbek and Azerbaijani in Latin and Cyrillic letters. A match by
// primary language must not cross from one to the other: a reader of
// Traditional Chinese is better served by English than by Simplified.
#pragma once

#include <string>

namespace stf {

enum class Script {
  kAny,  // the primary language has one script, or the id does not say which
  kSimplifiedChinese,
  kTraditionalChinese,
  kLatin,
  kCyrillic,
};

// Of a LANGID: 0x0404 (Taiwan), 0x0C04 (Hong Kong), 0x1404 (Macao) and
// 0x7C04 are Traditional; 0x0804 (PRC), 0x1004 (Singapore) and 0x0004 are
// Simplified.
Script ScriptOfLangId(unsigned langId);

// Of a tag: its script subtag (zh-Hant, sr-Latn), else for Chinese its region
// (zh-TW, zh-HK and zh-MO are Traditional, zh and other regions Simplified).
Script ScriptOfTag(const std::string& tag);

// May a language of script a stand in for one of script b?
bool SameScript(Script a, Script b);

// For the log: "Traditional Chinese".
const char* ScriptName(Script script);

}  // namespace stf
