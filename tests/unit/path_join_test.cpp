// Joining in the shared scratch regions and the trailing backslash.
#include <cstring>

#include "support/path_join.h"
#include "tests/fakes/process_state.h"

namespace {

using PathJoinTest = SetupTest;

TEST_F(PathJoinTest, EachRoutineOwnsItsRegion) {
  LPSTR first = ConcatPath("a", "b");
  LPSTR three = ConcatPath3("c", "d", "e");
  LPSTR again = ConcatPath("f", "g");
  LPSTR four = ConcatPath4("h", "i", "j", "k");
  EXPECT_EQ(first, PathScratch);
  EXPECT_EQ(again, first);
  EXPECT_EQ(three, PathScratch + 512);
  EXPECT_EQ(four, PathScratch + 1280);
  EXPECT_STREQ(first, "fg");
  EXPECT_STREQ(three, "cde");
  EXPECT_STREQ(four, "hijk");
}

TEST_F(PathJoinTest, DriversDirectoryUnderSystem32) {
  EXPECT_STREQ(ConcatPath("C:\\WINNT\\SYSTEM32\\", "DRIVERS\\"), "C:\\WINNT\\SYSTEM32\\DRIVERS\\");
}

TEST_F(PathJoinTest, JoinThatWouldLeaveItsRegionIsAnOverflowNotACorruption) {
  std::string half(300, 'x');
  fake::Events(400, {"CONTINUE"});
  ConcatPath3("keep", "", "");
  EXPECT_EQ(fake::ExitCodeOf([&] { ConcatPath(half.c_str(), half.c_str()); }), 0);
  EXPECT_EQ(fake::CountCalls("DoMsgBox"), 1);
  EXPECT_STREQ(PathScratch + 512, "keep");
  // 511 characters is the most region 1 holds.
  fake::ResetProcessState();
  std::string a(255, 'a'), b(256, 'b');
  EXPECT_EQ(std::strlen(ConcatPath(a.c_str(), b.c_str())), 511u);
}

struct BackslashCase {
  const char* before;
  const char* appended;
  const char* stripped;
};

TEST_F(PathJoinTest, TrailingBackslashRules) {
  const BackslashCase cases[] = {
      {"", "\\", ""},
      {"C:\\", "C:\\", "C:"},
      {"C:\\DIR", "C:\\DIR\\", "C:\\DIR"},
      {"C:\\DIR\\", "C:\\DIR\\", "C:\\DIR"},
      {"C:\\DIR\\\\", "C:\\DIR\\\\", "C:\\DIR\\"},
      {"\\", "\\", ""},
  };
  for (const BackslashCase& c : cases) {
    char path[32];
    std::strcpy(path, c.before);
    AppendBackslash(path);
    EXPECT_STREQ(path, c.appended) << "append to \"" << c.before << "\"";
    std::strcpy(path, c.before);
    StripTrailingBackslash(path);
    EXPECT_STREQ(path, c.stripped) << "strip from \"" << c.before << "\"";
  }
}

TEST_F(PathJoinTest, DoubleByteTrailByte5CIsNotABackslash) {
  fake::machine.leadBytes = {0x95};
  char path[32] = "D:\\\x95\x5C";  // one double-byte character ends the path
  AppendBackslash(path);
  EXPECT_STREQ(path, "D:\\\x95\x5C\\");
  char strip[32] = "D:\\\x95\x5C";
  StripTrailingBackslash(strip);
  EXPECT_STREQ(strip, "D:\\\x95\x5C");
  // Without the lead byte the same bytes do end in a backslash.
  fake::machine.leadBytes.clear();
  char plain[32] = "D:\\\x95\x5C";
  AppendBackslash(plain);
  EXPECT_STREQ(plain, "D:\\\x95\x5C");
}

}  // namespace
