// The Windows and system directories as full paths, and their relation.
#include <cstring>

#include "support/dir_queries.h"
#include "support/setup_paths.h"
#include "tests/fakes/process_state.h"

namespace {

class DirQueriesTest : public SetupTest {
 protected:
  void SetUp() override {
    SetupTest::SetUp();
    std::strcpy(SetupPaths.StartDir, "D:\\SETUP\\");
  }
};

TEST_F(DirQueriesTest, PathsWithoutADriveTakeItFromTheStartDirectory) {
  struct Case {
    const char* reported;
    const char* full;
  } cases[] = {{"C:\\WINNT", "C:\\WINNT\\"}, {"C:\\", "C:\\"},       {"\\WINNT", "D:\\WINNT\\"},
               {"WINNT", "D:\\WINNT\\"},     {"\\\\", "D:\\\\"},     {"C:\\WINNT\\", "C:\\WINNT\\"}};
  for (const Case& c : cases) {
    fake::machine.windowsDir = c.reported;
    fake::machine.systemDir = c.reported;
    char buffer[256];
    EXPECT_STREQ(GetWindowsDir(buffer, 255), c.full) << c.reported;
    EXPECT_STREQ(GetSystemDir(buffer, 255), c.full) << c.reported;
  }
  EXPECT_EQ(fake::CallsTo({"GetWindowsDirectoryA"}).front(), "GetWindowsDirectoryA(255)");
}

TEST_F(DirQueriesTest, TrailByteBackslashStillGetsASeparator) {
  fake::machine.leadBytes = {0x95};
  fake::machine.windowsDir = "C:\\\x95\\";  // ends in a double-byte character
  char buffer[256];
  EXPECT_STREQ(GetWindowsDir(buffer, 255), "C:\\\x95\\\\");
}

TEST_F(DirQueriesTest, WhatDoesNotFitTheSizeOverflowsBeforeAnyWrite) {
  struct Case {
    const char* reported;
    int size;
    bool overflow;
  } cases[] = {{"C:\\W", 3, true},     {"C:\\W", 5, false},   {"C:\\WIN", 6, true},
               {"C:\\WIN", 7, false},  {"\\W", 1, true},      {"W", 2, true},
               {"W", 5, false},        {"W", 4, true},        {"C:\\", 3, false},
               {"C:\\", 2, true}};
  for (const Case& c : cases) {
    fake::ResetProcessState();
    std::strcpy(SetupPaths.StartDir, "D:\\SETUP\\");
    fake::Events(400, {"CONTINUE"});
    fake::machine.windowsDir = c.reported;
    char buffer[16];
    std::memset(buffer, '#', sizeof buffer);
    auto exit = fake::ExitCodeOf([&] { GetWindowsDir(buffer, c.size); });
    EXPECT_EQ(exit.has_value(), c.overflow) << c.reported << " size " << c.size;
    EXPECT_EQ(fake::CountCalls("DoMsgBox"), c.overflow ? 1 : 0);
    // Nothing lands beyond the size + 1 bytes the caller has.
    for (int i = c.size + 1; i < 16; ++i) EXPECT_EQ(buffer[i], '#') << c.reported << " @" << i;
  }
}

TEST_F(DirQueriesTest, PlatformFailureIsFatalWithoutABoxAndALongDirectoryOverflows) {
  fake::Events(400, {"CONTINUE", "CONTINUE"});
  char buffer[256];
  fake::machine.systemDirFails = true;
  EXPECT_EQ(fake::ExitCodeOf([&] { GetSystemDir(buffer, 255); }), 0);
  EXPECT_EQ(fake::CountCalls("DoMsgBox"), 0);

  fake::ResetProcessState();
  fake::Events(400, {"CONTINUE"});
  fake::machine.windowsDir = "C:\\" + std::string(252, 'W');  // 255 characters
  EXPECT_EQ(fake::ExitCodeOf([&] { GetWindowsDir(buffer, 255); }), 0);
  EXPECT_EQ(fake::CountCalls("DoMsgBox"), 1);
}

TEST_F(DirQueriesTest, SystemDirectoryIsInsideWhenTheWindowsDirectoryIsItsPrefix) {
  struct Case {
    const char* windows;
    const char* system;
    int outside;
  } cases[] = {{"C:\\WINNT", "c:\\winnt\\system32", 0},
               {"C:\\WIN", "C:\\WINNT\\SYSTEM32", 1},
               {"C:\\WINNT", "D:\\WINNT\\SYSTEM32", 1},
               {"C:\\WINNT", "C:\\WINNT", 0},
               {"C:\\WINNT\\SYSTEM32", "C:\\WINNT", 1}};
  for (const Case& c : cases) {
    fake::machine.windowsDir = c.windows;
    fake::machine.systemDir = c.system;
    EXPECT_EQ(IsSystemDirOutsideWindowsDir(), c.outside) << c.windows << " " << c.system;
  }
}

}  // namespace
