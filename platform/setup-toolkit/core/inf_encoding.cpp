#include "inf_encoding.h"

#include <cstring>

namespace stf {
namespace {

// Appends the UTF-16 form of the UTF-8 text to *out (when given); false on a
// malformed sequence (overlong forms, surrogates and values above U+10FFFF).
bool Utf8ToUtf16(const unsigned char* p, const unsigned char* end, std::u16string* out) {
  while (p < end) {
    const unsigned c = *p;
    if (c < 0x80) {
      if (out) out->push_back(static_cast<char16_t>(c));
      ++p;
      continue;
    }
    const int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : -1;
    if (extra < 0 || c > 0xF4 || end - p <= extra) return false;
    unsigned value = c & (0x3F >> extra);
    for (int i = 1; i <= extra; ++i) {
      if ((p[i] & 0xC0) != 0x80) return false;
      value = (value << 6) | (p[i] & 0x3F);
    }
    static const unsigned kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (value < kSmallest[extra] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
      return false;
    }
    if (out == nullptr) {
      // only checking
    } else if (value >= 0x10000) {
      value -= 0x10000;
      out->push_back(static_cast<char16_t>(0xD800 + (value >> 10)));
      out->push_back(static_cast<char16_t>(0xDC00 + (value & 0x3FF)));
    } else {
      out->push_back(static_cast<char16_t>(value));
    }
    p += extra + 1;
  }
  return true;
}

bool HasNonAscii(const char* data, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) {
    if (static_cast<unsigned char>(data[i]) >= 0x80) return true;
  }
  return false;
}

}  // namespace

InfEncoding DetectInfEncoding(const char* data, std::size_t size) {
  if (size >= 2 && std::memcmp(data, "\xFF\xFE", 2) == 0) return InfEncoding::kUtf16;
  if (size >= 2 && std::memcmp(data, "\xFE\xFF", 2) == 0) return InfEncoding::kUtf16BigEndian;
  if (size >= 3 && std::memcmp(data, "\xEF\xBB\xBF", 3) == 0) return InfEncoding::kUtf8;
  if (!HasNonAscii(data, size)) return InfEncoding::kAnsi;
  const unsigned char* p = reinterpret_cast<const unsigned char*>(data);
  return Utf8ToUtf16(p, p + size, nullptr) ? InfEncoding::kUtf8 : InfEncoding::kAnsi;
}

bool DecodeInfBytes(const char* data, std::size_t size, WideToAnsi toAnsi, std::string* text,
                    std::string* problem) {
  const InfEncoding encoding = DetectInfEncoding(data, size);
  if (encoding == InfEncoding::kUtf16BigEndian) {
    *problem = "UTF-16 big-endian text is not supported; save the file as UTF-16LE or UTF-8";
    return false;
  }
  if (encoding == InfEncoding::kAnsi) {
    text->assign(data, size);
    return true;
  }
  std::u16string wide;
  if (encoding == InfEncoding::kUtf16) {
    if (size % 2 != 0) {
      *problem = "UTF-16 text of an odd number of bytes";
      return false;
    }
    wide.resize((size - 2) / 2);
    for (std::size_t i = 0; i < wide.size(); ++i) {
      wide[i] = static_cast<char16_t>(static_cast<unsigned char>(data[2 + 2 * i]) |
                                      (static_cast<unsigned char>(data[3 + 2 * i]) << 8));
    }
  } else {
    const std::size_t bom = size >= 3 && std::memcmp(data, "\xEF\xBB\xBF", 3) == 0 ? 3 : 0;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(data);
    wide.reserve(size - bom);
    if (!Utf8ToUtf16(p + bom, p + size, &wide)) {
      *problem = "malformed UTF-8 after a UTF-8 byte order mark";
      return false;
    }
  }
  if (toAnsi == nullptr || !toAnsi(wide.data(), wide.size(), text)) {
    *problem = "Unicode text cannot be converted to the system's code page";
    return false;
  }
  return true;
}

}  // namespace stf
