// A dialog's answer as the programs and the toolkit act on it: its event
// word's first two bytes added as signed 8-bit codes, reduced to 16 bits.
// Header only, so that the programs and every library share the one rule.
#pragma once

namespace stf {

inline unsigned EventSum(const char* word) {
  if (word == nullptr || word[0] == '\0') return 0;
  const int sum = static_cast<signed char>(word[0]) + static_cast<signed char>(word[1]);
  return static_cast<unsigned>(sum) & 0xFFFFu;
}

}  // namespace stf
