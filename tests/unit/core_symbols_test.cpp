#include <gtest/gtest.h>

#include <string>

#include "symbols.h"

namespace stf {
namespace {

TEST(Symbols, ValuesIgnoreNameCase) {
  SymbolTable table;
  std::string value;
  EXPECT_FALSE(table.Get("STF_SRCDIR", &value));
  EXPECT_TRUE(table.Set("STF_SrcDir", "E:\\"));
  EXPECT_TRUE(table.Exists("stf_srcdir"));
  ASSERT_TRUE(table.Get("STF_SRCDIR", &value));
  EXPECT_EQ(value, "E:\\");
  EXPECT_TRUE(table.Set("stf_srcdir", ""));  // replaces, and empty is a value
  ASSERT_TRUE(table.Get("STF_SRCDIR", &value));
  EXPECT_EQ(value, "");
  EXPECT_TRUE(table.Remove("Stf_SrcDir"));
  EXPECT_FALSE(table.Exists("STF_SRCDIR"));
  EXPECT_FALSE(table.Remove("STF_SRCDIR"));
  EXPECT_FALSE(table.Set("", "x"));
  EXPECT_FALSE(table.Append("", "x"));
}

TEST(Symbols, Lists) {
  SymbolTable table;
  EXPECT_EQ(table.ListLength("Drives"), 0u);
  EXPECT_TRUE(table.Append("Drives", "C"));
  EXPECT_TRUE(table.Append("DRIVES", "say \"D\""));
  EXPECT_TRUE(table.IsList("drives"));
  EXPECT_EQ(table.ListLength("drives"), 2u);

  std::string item;
  ASSERT_TRUE(table.GetItem("drives", 2, &item));
  EXPECT_EQ(item, "say \"D\"");
  EXPECT_FALSE(table.GetItem("drives", 0, &item));
  EXPECT_FALSE(table.GetItem("drives", 3, &item));
  EXPECT_TRUE(table.ReplaceItem("drives", 1, "a,b"));
  EXPECT_FALSE(table.ReplaceItem("drives", 3, "x"));
  EXPECT_FALSE(table.ReplaceItem("nolist", 1, "x"));

  std::string value;
  ASSERT_TRUE(table.Get("Drives", &value));
  EXPECT_EQ(value, "{\"a,b\",\"say \"\"D\"\"\"}");

  // A plain value is not a list, and Set turns a list into a plain value.
  table.Set("Plain", "x");
  EXPECT_FALSE(table.Append("plain", "y"));
  EXPECT_FALSE(table.GetItem("plain", 1, &item));
  EXPECT_EQ(table.ListLength("plain"), 0u);
  table.Set("Drives", "C");
  EXPECT_FALSE(table.IsList("drives"));
  EXPECT_EQ(table.ListLength("drives"), 0u);

  table.Clear();
  EXPECT_FALSE(table.Exists("plain"));
}

TEST(Symbols, SetListReplacesAndEmptyListReadsAsBraces) {
  SymbolTable table;
  table.Set("L", "plain");
  EXPECT_TRUE(table.SetList("l", {}));
  EXPECT_TRUE(table.IsList("L"));
  std::string value;
  ASSERT_TRUE(table.Get("L", &value));
  EXPECT_EQ(value, "{}");
  EXPECT_TRUE(table.Append("L", "x"));
  EXPECT_EQ(table.ListLength("L"), 1u);

  table.Remove("L");
  EXPECT_TRUE(table.Append("L", "y"));  // a removed list starts afresh
  EXPECT_EQ(table.ListLength("L"), 1u);
  EXPECT_FALSE(table.SetList("", {"x"}));
}

}  // namespace
}  // namespace stf
