// Lists of directories in text: a search path, and the PATH line of an
// AUTOEXEC.BAT-style file that the install library edits.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "path_lists.h"

namespace stf {
namespace {

TEST(PathLists, SearchPathEntries) {
  EXPECT_EQ(SplitSearchPath("C:\\DOS;;\"C:\\My Tools\"; D:\\x ;"),
            (std::vector<std::string>{"C:\\DOS", "C:\\My Tools", "D:\\x"}));
  EXPECT_EQ(SplitSearchPath("C:\\\x95\x5C;E:\\"), (std::vector<std::string>{"C:\\\x95\x5C", "E:\\"}));
  EXPECT_TRUE(SplitSearchPath("").empty());
}

TEST(PathLists, DirectoryPutAtTheFrontOfThePathLine) {
  struct Case {
    const char* text;
    const char* edited;
  } cases[] = {
      {"PATH=C:\\DOS;C:\\WINDOWS\r\n", "PATH=C:\\MLX;C:\\DOS;C:\\WINDOWS\r\n"},
      {"@ECHO OFF\nset path=c:\\dos\nPATH=C:\\B\n", "@ECHO OFF\nset path=C:\\MLX;c:\\dos\nPATH=C:\\B\n"},
      {"  PATH C:\\DOS", "  PATH C:\\MLX;C:\\DOS"},
      {"PATH=c:\\mlx\\;C:\\DOS; C:\\MLX ;;", "PATH=C:\\MLX;C:\\DOS"},  // its old places go
      {"PATHS=C:\\X\r\nREM PATH=C:\\Y\r\n", "PATHS=C:\\X\r\nREM PATH=C:\\Y\r\nPATH=C:\\MLX\r\n"},
      {"ECHO x", "ECHO x\r\nPATH=C:\\MLX\r\n"},
      {"", "PATH=C:\\MLX\r\n"},
      {"PATH", "PATH\r\nPATH=C:\\MLX\r\n"},  // names no value
  };
  for (const Case& c : cases) EXPECT_EQ(PrependToPathLine(c.text, "C:\\MLX"), c.edited) << c.text;
}

}  // namespace
}  // namespace stf
