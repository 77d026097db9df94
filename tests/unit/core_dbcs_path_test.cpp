// Paths taken apart and put together by whole characters: the byte 0x5C that
// ends a double-byte character (0x95 0x5C in code page 932) is no backslash.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dbcs_path.h"

namespace stf {
namespace {

bool SjisLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

TEST(DbcsPath, PiecesOfAPath) {
  struct Case {
    const char* path;
    const char* dir;    // DirectoryOf; FileNameOf is the rest
    std::size_t root;   // RootLength
    const char* first;  // the first component after the root
    const char* drive;  // DriveOfPath
    const char* volume; // VolumeRootOf
    bool backslashAtEnd;
  } cases[] = {
      {"C:\\WINNT\\system32\\f.sys", "C:\\WINNT\\system32\\", 3, "WINNT", "C", "C:\\", false},
      {"\\\\srv\\share\\d\\f.sys", "\\\\srv\\share\\d\\", 12, "d", "\\\\srv\\share",
       "\\\\srv\\share\\", false},
      {"C:\\\x95\x5C\\f.sys", "C:\\\x95\x5C\\", 3, "\x95\x5C", "C", "C:\\", false},
      {"C:\\\x95\x5C", "C:\\", 3, "\x95\x5C", "C", "C:\\", false},  // a trail byte 0x5C
      {"C:\\\x95\x5C\\", "C:\\\x95\x5C\\", 3, "\x95\x5C", "C", "C:\\", true},
      {"f.sys", "", 0, "f.sys", "", "", false},
      {"C:f.sys", "C:", 2, "f.sys", "C", "C:\\", false},
      {"a/b/c.sys", "a/b/", 0, "a/b/c.sys", "", "", false},
      {"c:\\x", "c:\\", 3, "x", "C", "c:\\", false},
      {"D:", "D:", 2, "", "D", "D:\\", false},
      {"d:", "d:", 2, "", "D", "d:\\", false},
      {"\\\\srv\\share", "\\\\srv\\", 11, "", "\\\\srv\\share", "\\\\srv\\share\\", false},
      {"\\\\srv\\share\\", "\\\\srv\\share\\", 12, "", "\\\\srv\\share", "\\\\srv\\share\\",
       true},
      {"\\\\srv\\\x95\x5C\\x", "\\\\srv\\\x95\x5C\\", 9, "x", "\\\\srv\\\x95\x5C",
       "\\\\srv\\\x95\x5C\\", false},
      {"\\\\srv\\\x95\x5C" "ab\\x", "\\\\srv\\\x95\x5C" "ab\\", 11, "x", "\\\\srv\\\x95\x5C" "ab",
       "\\\\srv\\\x95\x5C" "ab\\", false},
      {"\\\\SERVER\\SHARE\\DIR\\FILE", "\\\\SERVER\\SHARE\\DIR\\", 15, "DIR", "\\\\SERVER\\SHARE",
       "\\\\SERVER\\SHARE\\", false},
      {"\\\\SERVER", "\\\\", 8, "", "\\\\SERVER", "", false},
      {"\\\\SERVER\\", "\\\\SERVER\\", 9, "", "\\\\SERVER\\", "", true},  // no share
      {"relative\\x", "relative\\", 0, "relative", "", "", false},
      {"1:\\x", "1:\\", 0, "1:", "", "1:\\", false},
      {"", "", 0, "", "", "", false},
  };
  for (const Case& c : cases) {
    const std::string path = c.path;
    std::string dir, name;
    SplitPath(path, SjisLead, &dir, &name);
    EXPECT_EQ(dir, c.dir) << path;
    EXPECT_EQ(DirectoryOf(path, SjisLead), c.dir) << path;
    EXPECT_EQ(dir + FileNameOf(path, SjisLead), path);
    EXPECT_EQ(RootLength(path, SjisLead), c.root) << path;
    std::string rest = path.substr(c.root);
    EXPECT_EQ(TakeComponent(&rest, SjisLead), c.first) << path;
    EXPECT_EQ(DriveOfPath(path, SjisLead), c.drive) << path;
    EXPECT_EQ(VolumeRootOf(path, SjisLead), c.volume) << path;
    EXPECT_EQ(EndsWithBackslash(path, SjisLead), c.backslashAtEnd) << path;
  }
  // Without a lead-byte test the trail byte is a backslash.
  EXPECT_EQ(DirectoryOf("C:\\\x95\x5C" "f.sys", nullptr), "C:\\\x95\x5C");
}

TEST(DbcsPath, PathsPutTogether) {
  struct Case {
    const char* dir;
    const char* joined;  // JoinPath with "f.sys"
    const char* with;    // WithBackslash
    const char* without; // WithoutBackslash
  } cases[] = {
      {"C:\\WINNT\\system32\\drivers", "C:\\WINNT\\system32\\drivers\\f.sys",
       "C:\\WINNT\\system32\\drivers\\", "C:\\WINNT\\system32\\drivers"},
      {"C:\\WINNT\\system32\\drivers\\", "C:\\WINNT\\system32\\drivers\\f.sys",
       "C:\\WINNT\\system32\\drivers\\", "C:\\WINNT\\system32\\drivers"},
      {"D:\\", "D:\\f.sys", "D:\\", "D:\\"},
      {"\\", "\\f.sys", "\\", "\\"},
      {"", "f.sys", "", ""},
      {"\\\\srv\\share", "\\\\srv\\share\\f.sys", "\\\\srv\\share\\", "\\\\srv\\share"},
      {"C:\\\x95\x5C", "C:\\\x95\x5C\\f.sys", "C:\\\x95\x5C\\", "C:\\\x95\x5C"},
      {"C:\\\x95\x5C\\", "C:\\\x95\x5C\\f.sys", "C:\\\x95\x5C\\", "C:\\\x95\x5C"},
      {"a/b/", "a/b/f.sys", "a/b/\\", "a/b/"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(JoinPath(c.dir, "f.sys", SjisLead), c.joined) << c.dir;
    EXPECT_EQ(WithBackslash(c.dir, SjisLead), c.with) << c.dir;
    EXPECT_EQ(WithoutBackslash(c.dir, SjisLead), c.without) << c.dir;
  }
  EXPECT_EQ(JoinPath("C:\\\x95\x5C", "f.sys", nullptr), "C:\\\x95\x5C" "f.sys");
}

TEST(DbcsPath, ChainsRootsAndNames) {
  EXPECT_EQ(DirectoryChain("C:\\A\\\x95\x5C\\B\\", SjisLead),
            (std::vector<std::string>{"C:\\A", "C:\\A\\\x95\x5C", "C:\\A\\\x95\x5C\\B"}));
  EXPECT_EQ(DirectoryChain("\\\\srv\\share\\d", SjisLead), std::vector<std::string>{"\\\\srv\\share\\d"});
  EXPECT_TRUE(DirectoryChain("C:\\", SjisLead).empty());
  for (const char* rooted : {"C:x", "c:\\", "\\dir", "/dir", "\\\\srv\\share"}) {
    EXPECT_TRUE(IsRooted(rooted)) << rooted;
  }
  for (const char* relative : {"", "dir\\x", "x"}) EXPECT_FALSE(IsRooted(relative)) << relative;
  for (const char* bare : {"f.sys", "\x95\x5C.sys", "a b"}) EXPECT_TRUE(IsBareName(bare, SjisLead));
  for (const char* notBare : {"", "a\\b", "a/b", "c:x", "*.sys", "a?"}) {
    EXPECT_FALSE(IsBareName(notBare, SjisLead)) << notBare;
  }
}

}  // namespace
}  // namespace stf
