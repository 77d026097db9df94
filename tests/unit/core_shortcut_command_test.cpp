#include <gtest/gtest.h>

#include <string>

#include "shortcut_command.h"

namespace stf {
namespace {

bool OnlyProgramFilesTool(const std::string& path) { return path == "C:\\Program Files\\t.exe"; }

TEST(ShortcutCommand, TargetAndArguments) {
  struct Case {
    const char* command;
    const char* target;
    const char* arguments;
  } cases[] = {
      {"notepad.exe readme.txt", "notepad.exe", "readme.txt"},
      {"  prog.exe   /a  /b", "prog.exe", "/a  /b"},
      {"\"C:\\Program Files\\x.exe\"  /q", "C:\\Program Files\\x.exe", "/q"},
      {"\"C:\\unclosed x.exe", "C:\\unclosed x.exe", ""},
      {"C:\\Program Files\\t.exe", "C:\\Program Files\\t.exe", ""},  // exists whole
      {"C:\\Program Files\\u.exe", "C:\\Program", "Files\\u.exe"},
      {"   ", "", ""},
  };
  for (const Case& c : cases) {
    std::string target, arguments;
    SplitShortcutCommand(c.command, OnlyProgramFilesTool, &target, &arguments);
    EXPECT_EQ(target, c.target) << c.command;
    EXPECT_EQ(arguments, c.arguments) << c.command;
  }
}

}  // namespace
}  // namespace stf
