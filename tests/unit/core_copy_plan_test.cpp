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

TEST(CopyPlan, UnsafeFileNames) {
  const char* bad[] = {
      "..", ".", "a\\b.sys", "\\\\server\\share", "../x", "a/b",
      "C:x.sys", "C:\\x.sys", "x.sys:stream", "a<b", "a>b", "a\"b",
      "a|b", "a?b", "a*b", "a\tb", "a\x1F", "a\x7F",
      "name.", "name ", "CON", "nul", "Nul.sys", "com1",
      "LPT9.txt", "con.sys.bak", "clock$", "a\x95", "a\x95\x22",
  };
  for (const char* name : bad) {
    std::string problem;
    EXPECT_FALSE(IsSafeFileName(name, SjisLead, &problem)) << name;
    EXPECT_FALSE(problem.empty()) << name;
  }
  const char* good[] = {"mlxidecd.SYS", "a..b", ".hidden", "COM0", "LPT10",
                        "CONSOLE", "a b.txt", "\x95\x5C.sys", "\x83\x7C", "\xA0\xFF"};
  for (const char* name : good) {
    std::string problem;
    EXPECT_TRUE(IsSafeFileName(name, SjisLead, &problem)) << name << ": " << problem;
  }
  std::string problem;
  EXPECT_FALSE(IsSafeFileName("", nullptr, &problem));
  // Without a lead-byte test the same trail byte is a separator.
  EXPECT_FALSE(IsSafeFileName("\x95\x5C.sys", nullptr, &problem));
}

TEST(CopyPlan, JoinPath) {
  struct Case {
    const char* dir;
    const char* joined;
  } cases[] = {
      {"C:\\WINNT\\system32\\drivers", "C:\\WINNT\\system32\\drivers\\f.sys"},
      {"C:\\WINNT\\system32\\drivers\\", "C:\\WINNT\\system32\\drivers\\f.sys"},
      {"D:\\", "D:\\f.sys"},
      {"", "f.sys"},
      {"\\\\srv\\share", "\\\\srv\\share\\f.sys"},
      {"C:\\\x95\x5C", "C:\\\x95\x5C\\f.sys"},  // the trail byte is not a backslash
      {"C:\\\x95\x5C\\", "C:\\\x95\x5C\\f.sys"},
  };
  for (const Case& c : cases) EXPECT_EQ(JoinPath(c.dir, "f.sys", SjisLead), c.joined) << c.dir;
  EXPECT_EQ(JoinPath("C:\\\x95\x5C", "f.sys", nullptr), "C:\\\x95\x5C" "f.sys");
}

TEST(CopyPlan, PathPieces) {
  struct Case {
    const char* path;
    const char* dir;
    std::size_t root;
    const char* first;  // the first component after the root
  } cases[] = {
      {"C:\\WINNT\\system32\\f.sys", "C:\\WINNT\\system32\\", 3, "WINNT"},
      {"\\\\srv\\share\\d\\f.sys", "\\\\srv\\share\\d\\", 12, "d"},
      {"C:\\\x95\x5C\\f.sys", "C:\\\x95\x5C\\", 3, "\x95\x5C"},  // a trail byte 0x5C
      {"C:\\\x95\x5C", "C:\\", 3, "\x95\x5C"},
      {"f.sys", "", 0, "f.sys"},
  };
  for (const Case& c : cases) {
    std::string dir, name;
    SplitPath(c.path, SjisLead, &dir, &name);
    EXPECT_EQ(dir, c.dir) << c.path;
    EXPECT_EQ(dir + name, c.path);
    EXPECT_EQ(RootLength(c.path, SjisLead), c.root) << c.path;
    std::string rest = std::string(c.path).substr(c.root);
    EXPECT_EQ(TakeComponent(&rest, SjisLead), c.first) << c.path;
  }
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

TEST(CopyPlan, CostPerDrive) {
  struct Case {
    const char* path;
    const char* drive;
  } drives[] = {
      {"c:\\x", "C"},
      {"D:", "D"},
      {"\\\\srv\\share\\dir\\x", "\\\\srv\\share"},
      {"\\\\srv\\share", "\\\\srv\\share"},
      {"\\\\srv\\share\\", "\\\\srv\\share"},
      {"\\\\srv\\\x95\x5C\\x", "\\\\srv\\\x95\x5C"},
      {"\\\\srv\\\x95\x5C" "ab\\x", "\\\\srv\\\x95\x5C" "ab"},
      {"relative\\x", ""},
      {"1:\\x", ""},
  };
  for (const Case& c : drives) EXPECT_EQ(DriveOfPath(c.path, SjisLead), c.drive) << c.path;

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
