#include <gtest/gtest.h>

#include <string>

#include "file_record.h"

namespace stf {
namespace {

bool Read(const std::string& recordLine, FileRecord* record, InfError* err) {
  const std::string text = "[System Files]\n" + recordLine + "\n";
  InfFile inf;
  if (!ParseInfText(text.data(), text.size(), "setup.inf", &inf, err)) return false;
  return ReadFileRecord(inf, inf.sections.at(0).lines.at(0), record, err);
}

TEST(FileRecord, DefaultsForShortRecords) {
  for (const char* line : {"mlxidecd = mlxidecd.SYS", "mlxidecd.SYS"}) {
    FileRecord record;
    InfError err;
    ASSERT_TRUE(Read(line, &record, &err)) << err.Text();
    EXPECT_EQ(record.diskName, "mlxidecd.SYS");
    EXPECT_EQ(record.installName, "mlxidecd.SYS");
    EXPECT_EQ(record.size, 0u);
    EXPECT_EQ(record.description, "");
    EXPECT_TRUE(record.vital());
    EXPECT_EQ(record.version, "");
    EXPECT_EQ(record.line, 2);
  }
}

TEST(FileRecord, EveryDefinedField) {
  FileRecord record;
  InfError err;
  ASSERT_TRUE(Read("k = mlxidecd.SY_, mlxidecd.sys, 21504, junk, \"CD-ROM driver\","
                   "r6,,,,,,,, r14, 0, r16,,, 3.10.0.61",
                   &record, &err))
      << err.Text();
  EXPECT_EQ(record.diskName, "mlxidecd.SY_");
  EXPECT_EQ(record.installName, "mlxidecd.sys");
  EXPECT_EQ(record.size, 21504u);
  EXPECT_EQ(record.description, "CD-ROM driver");
  EXPECT_EQ(record.flags, 0u);
  EXPECT_FALSE(record.vital());
  EXPECT_EQ(record.version, "3.10.0.61");

  ASSERT_TRUE(Read("a.sys,,,,,,,,,,,,,, 1", &record, &err)) << err.Text();
  EXPECT_TRUE(record.vital());
  EXPECT_EQ(record.installName, "a.sys");
}

TEST(FileRecord, BadFieldsAreErrors) {
  struct Case {
    const char* line;
    const char* message;
  } cases[] = {
      {"k =", "without a file name"},
      {", b.sys", "without a file name"},
      {"a.sys, b.sys, 12k", "file size '12k' of a.sys is not a decimal number"},
      {"a.sys, b.sys, -1", "not a decimal number"},
      {"a.sys, b.sys, 18446744073709551616", "not a decimal number"},
      {"a.sys,,,,,,,,,,,,,, yes", "flags 'yes' of a.sys are not a decimal number"},
      {"a.sys,,,,,,,,,,,,,, 4294967296", "not a decimal number"},
      {"a.sys,,,,,,,,,,,,,, 2", "set reserved bits"},
      {"a.sys,,,,,,,,,,,,,,,,,, 3.x", "version '3.x' of a.sys"},
      {"a.sys,,,,,,,,,,,,,,,,,, 1.2.3.4.5", "version"},
      {"a.sys,,,,,,,,,,,,,,,,,, 1..2", "version"},
      {"a.sys,,,,,,,,,,,,,,,,,, 65536", "version"},
      {"a.sys,,,,,,,,,,,,,,,,,, 1.0,", "has 20 fields"},
  };
  for (const Case& c : cases) {
    FileRecord record;
    InfError err;
    EXPECT_FALSE(Read(c.line, &record, &err)) << c.line;
    EXPECT_EQ(err.file, "setup.inf");
    EXPECT_EQ(err.line, 2) << c.line;
    EXPECT_NE(err.message.find(c.message), std::string::npos) << c.line << " -> " << err.message;
  }
  FileRecord record;
  InfError err;
  EXPECT_TRUE(Read("a.sys, b.sys, 18446744073709551615,,,,,,,,,,,,,,,, 65535.0", &record, &err))
      << err.Text();
}

}  // namespace
}  // namespace stf
