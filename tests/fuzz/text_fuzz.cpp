// Fuzzes the text routines over arbitrary bytes and a fuzzed set of DBCS
// lead bytes. The first 32 input bytes choose the lead bytes; the rest is
// split at the first zero into a text and a pattern.
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "support/text_parsing.h"

namespace {
bool leadBytes[256];
struct Ended {};
}  // namespace

extern "C" LPSTR WINAPI CharNextA(LPCSTR text) {
  if (*text == '\0') return const_cast<LPSTR>(text);
  if (leadBytes[static_cast<unsigned char>(*text)] && text[1] != '\0') {
    return const_cast<LPSTR>(text + 2);
  }
  return const_cast<LPSTR>(text + 1);
}

[[noreturn]] void FatalSetupError(void) { throw Ended{}; }
[[noreturn]] void FailWithBufferOverflow(void) { throw Ended{}; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 34) return 0;
  for (int i = 0; i < 256; ++i) leadBytes[i] = (data[i / 8] >> (i % 8)) & 1;
  int n = static_cast<int8_t>(data[32]);
  int fieldSize = data[33] % 40;
  data += 34;
  size -= 34;

  // Exact-size heap copies, so that any read past a terminator is caught.
  const uint8_t* zero = static_cast<const uint8_t*>(std::memchr(data, 0, size));
  size_t textLength = zero ? static_cast<size_t>(zero - data) : size;
  std::vector<char> text(data, data + textLength);
  text.push_back('\0');
  size_t rest = zero ? size - textLength - 1 : 0;
  std::vector<char> pattern(zero ? reinterpret_cast<const char*>(zero + 1) : nullptr,
                            zero ? reinterpret_cast<const char*>(zero + 1) + rest : nullptr);
  pattern.push_back('\0');

  FindChar(text.data(), n);
  FindSubstringPos(n, text.data(), pattern.data());

  std::vector<char> list(text);
  std::vector<char> field(static_cast<size_t>(fieldSize) + 1);
  try {
    GetNthCommaField(list.data(), n, field.data(), fieldSize);
    if (std::strlen(field.data()) > static_cast<size_t>(fieldSize)) __builtin_trap();
  } catch (const Ended&) {
  }
  if (list != text) __builtin_trap();  // the list is read, never changed

  std::vector<char> stripped(text);
  StripTrailingBlanks(stripped.data());

  std::vector<char> padded(static_cast<size_t>(fieldSize));
  CopyStringPadded(padded.data(), text.data(), fieldSize);
  return 0;
}
