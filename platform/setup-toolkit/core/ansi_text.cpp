#include "ansi_text.h"

namespace stf {

std::size_t CharLength(const char* p, const char* end, LeadBytePredicate isLead) {
  if (isLead != nullptr && end - p >= 2 && isLead(static_cast<unsigned char>(p[0])) &&
      static_cast<unsigned char>(p[1]) >= 0x40) {
    return 2;
  }
  return 1;
}

std::size_t CharPrefix(const char* text, std::size_t length, std::size_t maxChars,
                       LeadBytePredicate isLead) {
  if (isLead == nullptr) return length < maxChars ? length : maxChars;
  const char* end = text + length;
  const char* p = text;
  for (std::size_t n = 0; n < maxChars && p < end; ++n) p += CharLength(p, end, isLead);
  return static_cast<std::size_t>(p - text);
}

char ToUpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string ToUpperAscii(const std::string& text) {
  std::string upper(text);
  for (char& c : upper) c = ToUpperAscii(c);
  return upper;
}

bool EqualsNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (ToUpperAscii(a[i]) != ToUpperAscii(b[i])) return false;
  }
  return true;
}

bool NoCaseLess::operator()(const std::string& a, const std::string& b) const {
  const std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned char x = static_cast<unsigned char>(ToUpperAscii(a[i]));
    const unsigned char y = static_cast<unsigned char>(ToUpperAscii(b[i]));
    if (x != y) return x < y;
  }
  return a.size() < b.size();
}

}  // namespace stf
