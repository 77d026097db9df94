#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "copy_plan.h"

namespace stf {
namespace {

bool SjisLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

InfFile Inf(const std::string& text, LeadBytePredicate isLead = nullptr) {
  InfFile inf;
  InfError err;
  EXPECT_TRUE(ParseInfText(text.data(), text.size(), "setup.inf", &inf, &err, isLead))
      << err.Text();
  return inf;
}

TEST(CopyPlan, PlansSectionInOrder) {
  const InfFile inf = Inf(
      "[system files]\n"
      "mlxidecd = mlxidecd.SY_, mlxidecd.sys, 21504,, \"%Desc%\"\n"
      "readme.txt,,,,,,,,,,,,,, 0\n"
      "[Strings]\n"
      "Desc = \"CD-ROM driver\"\n");
  std::vector<CopyEntry> entries;
  InfError err;
  ASSERT_TRUE(PlanCopyList(inf, "System Files", "E:\\I386", "C:\\WINNT\\system32\\drivers\\",
                           nullptr, &entries, &err))
      << err.Text();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].sourcePath, "E:\\I386\\mlxidecd.SY_");
  EXPECT_EQ(entries[0].destPath, "C:\\WINNT\\system32\\drivers\\mlxidecd.sys");
  EXPECT_EQ(entries[0].record.size, 21504u);
  EXPECT_EQ(entries[0].record.description, "CD-ROM driver");
  EXPECT_TRUE(entries[0].record.vital());
  EXPECT_EQ(entries[1].destPath, "C:\\WINNT\\system32\\drivers\\readme.txt");
  EXPECT_FALSE(entries[1].record.vital());
  EXPECT_EQ(entries[1].record.line, 3);
}

TEST(CopyPlan, DoubleByteNameIsAccepted) {
  const std::string name = "\x95\x5C.sys";
  const InfFile inf = Inf("[S]\n" + name + "\n", SjisLead);
  std::vector<CopyEntry> entries;
  InfError err;
  ASSERT_TRUE(PlanCopyList(inf, "S", "E:\\", "C:\\\x95\x5C", SjisLead, &entries, &err))
      << err.Text();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].sourcePath, "E:\\" + name);
  EXPECT_EQ(entries[0].destPath, "C:\\\x95\x5C\\" + name);
}

TEST(CopyPlan, ErrorsNameFileLineAndName) {
  struct Case {
    const char* section;
    int line;
    const char* text;
  } cases[] = {
      {"[S]\nok.sys\nevil = ..\\..\\boot.ini\n", 3,
       "setup.inf(3): unsafe file name '..\\..\\boot.ini': contains a path separator"},
      {"[S]\nok.sys, C:\\WINNT\\x.sys\n", 2,
       "setup.inf(2): unsafe file name 'C:\\WINNT\\x.sys': contains ':' (a drive or stream)"},
      {"[S]\na.sys, x.sys\nb.sys, X.SYS\n", 3,
       "setup.inf(3): 'D:\\X.SYS' is already installed by line 2"},
      {"[S]\na.sys, b.sys, big\n", 2,
       "setup.inf(2): file size 'big' of a.sys is not a decimal number"},
      {"[Other]\na.sys\n", 0, "setup.inf: section [S] not found"},
  };
  for (const Case& c : cases) {
    const InfFile inf = Inf(c.section);
    std::vector<CopyEntry> entries;
    InfError err;
    EXPECT_FALSE(PlanCopyList(inf, "S", "E:\\", "D:\\", nullptr, &entries, &err)) << c.section;
    EXPECT_EQ(err.line, c.line);
    EXPECT_EQ(err.Text(), c.text);
    EXPECT_TRUE(entries.empty());
  }

  const InfFile inf = Inf("[S]\n" + std::string(250, 'n') + "\n");
  std::vector<CopyEntry> entries;
  InfError err;
  EXPECT_FALSE(PlanCopyList(inf, "S", "E:\\", "C:\\WINNT\\system32", nullptr, &entries, &err));
  EXPECT_NE(err.message.find("longer than 259 bytes"), std::string::npos);
}

TEST(CopyPlan, ExtraCostsByDriveOrPosition) {
  std::vector<DriveCost> costs = {{"C", 100}};
  const std::pair<const char*, unsigned> items[] = {
      {"C=50", 1},   {"d:=7", 2},  {"3", 3},        // item 3 stands for drive C
      {"0", 4},      {"x", 5},     {"=9", 6},       // nothing: no count, no drive
      {"99", 27},                                    // past Z: no drive
      {"\\\\srv\\share=5", 8}, {"c=18446744073709551615", 9},
  };
  for (const auto& item : items) AddExtraCost(item.first, item.second, &costs);
  ASSERT_EQ(costs.size(), 3u);
  EXPECT_EQ(costs[0].drive, "C");
  EXPECT_EQ(costs[0].bytes, UINT64_MAX);  // 153 plus the largest count: clamped
  EXPECT_EQ(costs[1].drive, "D");
  EXPECT_EQ(costs[1].bytes, 7u);
  EXPECT_EQ(costs[2].drive, "\\\\srv\\share");
  EXPECT_EQ(costs[2].bytes, 5u);
}

TEST(CopyPlan, CostPerDrive) {
  std::vector<CopyEntry> entries(5);
  const char* paths[] = {"C:\\a", "d:\\b", "c:\\c", "\\\\SRV\\Share\\d", "\\\\srv\\share\\e"};
  const std::uint64_t sizes[] = {100, 7, UINT64_MAX, 1, 2};
  for (int i = 0; i < 5; ++i) {
    entries[i].destPath = paths[i];
    entries[i].record.size = sizes[i];
  }
  const std::vector<DriveCost> costs = CopyListCost(entries, nullptr);
  ASSERT_EQ(costs.size(), 3u);
  EXPECT_EQ(costs[0].drive, "C");
  EXPECT_EQ(costs[0].bytes, UINT64_MAX);  // saturates instead of wrapping
  EXPECT_EQ(costs[1].drive, "D");
  EXPECT_EQ(costs[1].bytes, 7u);
  EXPECT_EQ(costs[2].drive, "\\\\SRV\\Share");
  EXPECT_EQ(costs[2].bytes, 3u);
}

}  // namespace
}  // namespace stf
