#include <gtest/gtest.h>

#include "version_fields.h"

namespace stf {
namespace {

TEST(VersionFields, Table) {
  struct Case {
    const char* version;
    int n;
    long field;
  } cases[] = {
      {"3.10.0.61", 1, 3},
      {"3.10.0.61", 2, 10},
      {"3.10.0.61", 4, 61},
      {"3.10.0.61", 5, 0},
      {"3.10.0.61", 0, 0},
      {"3.10.0.61", -1, 0},
      {"", 1, 0},
      {"3..1", 2, 0},
      {"3..1", 3, 1},
      {"3.", 2, 0},
      {" 3 . 10 ", 2, 10},
      {"\t7\t", 1, 7},
      {"1 0.2", 1, 0},
      {"4b.2", 1, 0},
      {"4b.2", 2, 2},
      {"-1.2", 1, 0},
      {"+1", 1, 0},
      {"007", 1, 7},
      {"2147483647", 1, 2147483647L},
      {"2147483648", 1, kVersionFieldMax},
      {"99999999999999999999999999.5", 1, kVersionFieldMax},
      {"99999999999999999999999999.5", 2, 5},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(VersionNthField(c.version, c.n), c.field) << '"' << c.version << "\" " << c.n;
  }
  EXPECT_EQ(VersionNthField(nullptr, 1), 0);
}

}  // namespace
}  // namespace stf
