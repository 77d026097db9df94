// Numbers as the log, messages and file names spell them: hexadecimal or
// decimal, padded with zeros to a least number of digits. Written out here
// rather than by the C library's formatted printing, which brings its
// floating-point code into every library that calls it.
#pragma once

#include <string>

namespace stf {

enum class HexCase { kLower, kUpper };

// "%0*lx" / "%0*lX": at least `digits` digits.
std::string HexText(unsigned long value, int digits, HexCase letters = HexCase::kLower);
// "%0*ld": at least `digits` characters, the sign included.
std::string DecimalText(long value, int digits);

}  // namespace stf
