#include "number_text.h"

namespace stf {
namespace {

// The digits of value in base (at most 16), least significant first.
std::string Digits(unsigned long value, unsigned base, const char* symbols) {
  std::string reversed;
  do {
    reversed += symbols[value % base];
    value /= base;
  } while (value != 0);
  return reversed;
}

std::string Padded(const std::string& sign, const std::string& reversed, int width) {
  std::string text = sign;
  const int digits = static_cast<int>(sign.size() + reversed.size());
  if (width > digits) text.append(static_cast<std::size_t>(width - digits), '0');
  text.append(reversed.rbegin(), reversed.rend());
  return text;
}

}  // namespace

std::string HexText(unsigned long value, int digits, HexCase letters) {
  const char* symbols = letters == HexCase::kUpper ? "0123456789ABCDEF" : "0123456789abcdef";
  return Padded("", Digits(value, 16, symbols), digits);
}

std::string DecimalText(long value, int digits) {
  // The magnitude of the most negative value does not fit a long.
  const unsigned long magnitude =
      value < 0 ? 0ul - static_cast<unsigned long>(value) : static_cast<unsigned long>(value);
  return Padded(value < 0 ? "-" : "", Digits(magnitude, 10, "0123456789"), digits);
}

}  // namespace stf
