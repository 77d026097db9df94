// The one rule of the switches that ask that nobody be asked, for a command
// tail that may not parse: any word that names /quiet, /q, /qn or /passive
// (or with '-') counts, quoted, with a value after ':' or '=', or inside an
// unclosed quote. Inline and without allocation: the C run-time's start-up
// asks it before the run-time is bound, and the option parser asks the same.
#pragma once

#include <cstddef>

namespace stf {

// The switches' names; the parser's table takes them from here.
constexpr const char* kSwitchQuiet = "quiet";
constexpr const char* kSwitchQ = "q";
constexpr const char* kSwitchQn = "qn";
constexpr const char* kSwitchPassive = "passive";

// Do the length letters of text spell name, ASCII case aside?
inline bool SpellsNoCase(const char* text, std::size_t length, const char* name) {
  std::size_t i = 0;
  for (; i < length && name[i] != '\0'; ++i) {
    char a = text[i], b = name[i];
    if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
    if (b >= 'A' && b <= 'Z') b = static_cast<char>(b - 'A' + 'a');
    if (a != b) return false;
  }
  return i == length && name[i] == '\0';
}

// One word of the tail: '/' or '-', then the name up to a ':' or '='.
inline bool NamesUnattendedSwitch(const char* word, std::size_t length) {
  if (length < 2 || (word[0] != '/' && word[0] != '-')) return false;
  std::size_t end = 1;
  while (end < length && word[end] != ':' && word[end] != '=') ++end;
  return SpellsNoCase(word + 1, end - 1, kSwitchQuiet) || SpellsNoCase(word + 1, end - 1, kSwitchQ) ||
         SpellsNoCase(word + 1, end - 1, kSwitchQn) ||
         SpellsNoCase(word + 1, end - 1, kSwitchPassive);
}

// Blanks and quotes separate the words.
inline bool AsksForUnattended(const char* tail) {
  const char* p = tail != nullptr ? tail : "";
  for (;;) {
    const char* word = p;
    while (*p != '\0' && *p != ' ' && *p != '\t' && *p != '"') ++p;
    if (NamesUnattendedSwitch(word, static_cast<std::size_t>(p - word))) return true;
    if (*p == '\0') return false;
    ++p;
  }
}

}  // namespace stf
