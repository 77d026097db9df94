// What the run-time start-up hands to WinMain.
#include <string>

#include "installer/installer.h"
#include "tests/fakes/process_state.h"

namespace {

struct TailCase {
  const char* commandLine;
  const char* tail;
};

TEST(CommandTailTest, SkipsTheProgramNameAndTheBlanksAfterIt) {
  const TailCase cases[] = {
      {"setup.exe", ""},
      {"setup.exe /quiet", "/quiet"},
      {"setup.exe   \t /log x.log  ", "/log x.log  "},
      {"\"C:\\Program Files\\setup.exe\" /q", "/q"},
      {"\"C:\\a b\\setup.exe\"/q", "/q"},
      {"\"unterminated quote /q", ""},
      {"\"\" /q", "/q"},
      {"D:\\\x95\x5C\\setup.exe /q", "/q"},  // bytes above 127 belong to the name
      {"setup.exe\x01\x1F /q", "/q"},
      {"", ""},
  };
  for (const TailCase& c : cases) {
    std::string line = c.commandLine;
    EXPECT_STREQ(CommandTail(&line[0]), c.tail) << "command line [" << c.commandLine << "]";
  }
}

TEST(CommandTailTest, TailPointsIntoTheCommandLine) {
  char line[] = "setup.exe /quiet";
  EXPECT_EQ(CommandTail(line), line + 10);
}

using StartupShowStateTest = SetupTest;

TEST_F(StartupShowStateTest, ShowStateFromStartupInfoOnlyWhenFlagged) {
  fake::machine.startupShow = 3;
  EXPECT_EQ(StartupShowState(), SW_SHOWDEFAULT);
  fake::machine.startupFlags = STARTF_USESHOWWINDOW;
  EXPECT_EQ(StartupShowState(), 3);
}

}  // namespace
