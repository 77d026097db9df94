// Joining in the shared scratch regions and the trailing backslash.
#include <cstring>

#include "support/path_join.h"
#include "tests/fakes/process_state.h"

namespace {

using PathJoinTest = SetupTest;

TEST_F(PathJoinTest, JoinIntoTheCallersBufferFitsOrChangesNothing) {
  char buffer[8] = "keep";
  EXPECT_TRUE(JoinPathParts(buffer, sizeof buffer, "ab", "c", "d", "efg"));
  EXPECT_STREQ(buffer, "abcdefg");
  char full[8] = "keep";
  EXPECT_FALSE(JoinPathParts(full, sizeof full, "ab", "cd", "ef", "gh"));
  EXPECT_STREQ(full, "keep");
  // Two joins held at once stay apart.
  char first[8], second[8];
  ASSERT_TRUE(JoinPathParts(first, sizeof first, "a", "b"));
  ASSERT_TRUE(JoinPathParts(second, sizeof second, "c", "d", "e"));
  EXPECT_STREQ(first, "ab");
  EXPECT_STREQ(second, "cde");
}

TEST_F(PathJoinTest, DriversDirectoryUnderSystem32) {
  EXPECT_STREQ(ConcatPath("C:\\WINNT\\SYSTEM32\\", "DRIVERS\\"), "C:\\WINNT\\SYSTEM32\\DRIVERS\\");
}

TEST_F(PathJoinTest, JoinThatWouldLeaveItsRegionIsAnOverflowNotACorruption) {
  std::string half(300, 'x');
  fake::Events(400, {"CONTINUE"});
  ConcatPath("ke", "ep");
  EXPECT_EQ(fake::ExitCodeOf([&] { ConcatPath(half.c_str(), half.c_str()); }), 0);
  EXPECT_EQ(fake::CountCalls("DoMsgBox"), 1);
  EXPECT_STREQ(PathScratch, "keep");
  // 511 characters is the most the scratch area holds.
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
