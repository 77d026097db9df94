// What Windows takes as a file name, a folder below another one and a full
// path, by whole characters.
#include <gtest/gtest.h>

#include <string>

#include "path_syntax.h"

namespace stf {
namespace {

bool SjisLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

TEST(PathSyntax, UnsafeFileNames) {
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

// FValidPath, FValidDir and FParsePathIntoPieces of the common library.
TEST(PathSyntax, FullPathsAndTheirPieces) {
  struct Case {
    const char* path;
    bool file, directory;  // valid as a file path, as a directory path
    const char* volume;    // the pieces of a valid file path
    const char* dir;
    const char* name;
  } cases[] = {
      {"C:\\WINNT\\system32\\f.sys", true, true, "C:", "\\WINNT\\system32\\", "f.sys"},
      {"c:\\f.sys", true, true, "c:", "\\", "f.sys"},
      {"C:\\", true, true, "C:", "\\", ""},
      {"C:\\dir\\", false, true, "", "", ""},
      {"C:\\a\\\\b", false, false, "", "", ""},
      {"C:\\\x95\x5C\\f.sys", true, true, "C:", "\\\x95\x5C\\", "f.sys"},  // a trail byte 0x5C
      {"\\\\srv\\share\\d\\f", true, true, "\\\\srv\\share", "\\d\\", "f"},
      {"\\\\srv\\share", true, true, "\\\\srv\\share", "\\", ""},
      {"\\\\srv\\\x95\x5C\\x", true, true, "\\\\srv\\\x95\x5C", "\\", "x"},
      {"\\\\srv", false, false, "", "", ""},
      {"\\\\\\share", false, false, "", "", ""},
      {"C:f.sys", false, false, "", "", ""},
      {"relative\\f.sys", false, false, "", "", ""},
      {"1:\\f", false, false, "", "", ""},
      {"C:\\con\\f.sys", false, false, "", "", ""},
      {"C:\\a|b", false, false, "", "", ""},
      {"", false, false, "", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsValidFullPath(c.path, false, SjisLead), c.file) << c.path;
    EXPECT_EQ(IsValidFullPath(c.path, true, SjisLead), c.directory) << c.path;
    PathPieces pieces;
    ASSERT_EQ(SplitFullPath(c.path, SjisLead, &pieces), c.file) << c.path;
    if (!c.file) continue;
    EXPECT_EQ(pieces.volume, c.volume) << c.path;
    EXPECT_EQ(pieces.directory, c.dir) << c.path;
    EXPECT_EQ(pieces.name, c.name) << c.path;
  }
  EXPECT_FALSE(IsValidFullPath("C:\\" + std::string(kMaxPathBytes, 'x'), false, SjisLead));
}

// The Start menu group names of the install library.
TEST(PathSyntax, FoldersBelowAnother) {
  for (const char* good : {"Merlox", "Merlox\\Tools", "Merlox/Tools", "a b", "\x95\x5C"}) {
    EXPECT_TRUE(IsSafeFolderPath(good, SjisLead)) << good;
  }
  for (const char* bad : {"", "\\Merlox", "/x", "C:x", "a\\\\b", "a\\", "..", "a\\..\\b",
                          ".", "a.", "a ", "a*b", "a:b", "a\x01"}) {
    EXPECT_FALSE(IsSafeFolderPath(bad, SjisLead)) << bad;
  }
}

}  // namespace
}  // namespace stf
