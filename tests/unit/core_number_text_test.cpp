#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>

#include "number_text.h"

namespace stf {
namespace {

// The texts replace the C library's formatted printing in log lines, file
// names and journal names that earlier runs wrote: they must agree with it.
TEST(NumberText, AgreesWithPrintfForEveryWidthAndEdgeValue) {
  const unsigned long unsignedValues[] = {0, 1, 9, 10, 15, 16, 255, 0x1000, 0xABCDEF,
                                          0x800B0100ul, 0xFFFFFFFFul, ULONG_MAX};
  const long signedValues[] = {0, 1, -1, 7, -7, 59, 1999, 2026, 10000, -12345, LONG_MAX, LONG_MIN};
  char expected[64];
  for (int digits : {0, 1, 2, 4, 8, 12}) {
    for (unsigned long value : unsignedValues) {
      std::snprintf(expected, sizeof expected, "%0*lx", digits, value);
      EXPECT_EQ(HexText(value, digits), expected) << value << " in " << digits;
      std::snprintf(expected, sizeof expected, "%0*lX", digits, value);
      EXPECT_EQ(HexText(value, digits, HexCase::kUpper), expected) << value << " in " << digits;
    }
    for (long value : signedValues) {
      std::snprintf(expected, sizeof expected, "%0*ld", digits, value);
      EXPECT_EQ(DecimalText(value, digits), expected) << value << " in " << digits;
    }
  }
}

}  // namespace
}  // namespace stf
