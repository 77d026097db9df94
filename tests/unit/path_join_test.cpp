// Joining into the caller's buffer, the trailing backslash and the file name.
#include <cstring>
#include <string>

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

TEST_F(PathJoinTest, ConcatPathFillsTheCallersBufferOrTakesTheOverflowPath) {
  char drivers[32];
  EXPECT_STREQ(ConcatPath(drivers, "C:\\WINNT\\SYSTEM32\\", "DRIVERS\\"),
               "C:\\WINNT\\SYSTEM32\\DRIVERS\\");
  char exact[8];
  EXPECT_STREQ(ConcatPath(exact, "abc", "defg"), "abcdefg");  // 7 characters and the end
  char buffer[8] = "keep";
  fake::Events(400, {"CONTINUE"});
  EXPECT_EQ(fake::ExitCodeOf([&] { ConcatPath(buffer, "abcd", "efgh"); }), 0);
  EXPECT_EQ(fake::CountCalls("DoMsgBox"), 1);
  EXPECT_STREQ(buffer, "keep");
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

TEST_F(PathJoinTest, FileNameStartsAfterTheLastBackslashOfItsOwn) {
  fake::machine.leadBytes = {0x95};
  const struct {
    const char* path;
    const char* name;
  } cases[] = {
      {"C:\\DIR\\FILE.SYS", "FILE.SYS"},
      {"FILE.SYS", "FILE.SYS"},
      {"C:\\DIR\\", ""},
      {"C:\\\x95\x5C", "\x95\x5C"},  // the trail byte 0x5C ends no folder
      {"C:\\\x95\x5C\\A", "A"},
  };
  for (const auto& c : cases) {
    EXPECT_STREQ(FileNameOfPath(c.path), c.name) << c.path;
    char dir[32];
    std::strcpy(dir, c.path);
    StripFileName(dir);
    EXPECT_EQ(std::string(dir) + c.name, c.path) << c.path;
  }
}

}  // namespace
