// Byte-level helpers for 8-bit text in the system ANSI code page. The core has
// no code-page tables, so whoever knows the code page passes a lead-byte test.
#pragma once

#include <cstddef>
#include <string>

namespace stf {

// True when the byte starts a double-byte character in the caller's code page.
// nullptr means a single-byte code page: no byte is a lead byte.
using LeadBytePredicate = bool (*)(unsigned char byte);

// Length (1 or 2) of the character at p. A lead byte pairs only with a next
// byte of 0x40 or more: no double-byte code page uses a lower trail byte, so
// blanks, quotes, commas, ';', '=', '%' and ':' always stand for themselves.
std::size_t CharLength(const char* p, const char* end, LeadBytePredicate isLead);

// Bytes of the first maxChars characters of text (all of it when shorter).
std::size_t CharPrefix(const char* text, std::size_t length, std::size_t maxChars,
                       LeadBytePredicate isLead);

// ASCII-only case folding: bytes of 0x80 and above are left alone.
char ToUpperAscii(char c);
std::string ToUpperAscii(const std::string& text);
bool EqualsNoCase(const std::string& a, const std::string& b);

// Ordering for maps keyed by case-insensitive names.
struct NoCaseLess {
  bool operator()(const std::string& a, const std::string& b) const;
};

}  // namespace stf
