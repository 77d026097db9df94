// What the uninstaller may remove: the product's own folder, and files
// directly in it or in the drivers directory; never a place it did not make.
#include "support/removal_paths.h"
#include <gtest/gtest.h>

namespace {

using RemovalPathsTest = ::testing::Test;

const ProtectedDirs kDirs = {"C:\\WINDOWS", "C:\\WINDOWS\\system32\\", "C:\\Program Files\\"};
const char kName[] = "Merlox IDE CD-ROM Drive";

TEST_F(RemovalPathsTest, OnlyTheProductsOwnFolderIsOurs) {
  struct Case {
    const char* folder;
    FolderVerdict verdict;
  } cases[] = {
      {"C:\\Program Files\\Merlox IDE CD-ROM Drive\\", kFolderOurs},
      {"d:\\Apps\\merlox ide cd-rom drive", kFolderOurs},
      {"C:\\", kFolderRoot},
      {"C:", kFolderNotFull},  // the drive's current folder
      {"C:Merlox IDE CD-ROM Drive", kFolderNotFull},
      {"\\Merlox IDE CD-ROM Drive", kFolderNotFull},
      {"\\\\server\\share\\Merlox IDE CD-ROM Drive", kFolderNotFull},
      {"Merlox IDE CD-ROM Drive", kFolderNotFull},
      {"", kFolderNotFull},
      {"C:\\windows", kFolderSystem},
      {"c:\\Windows\\System32\\", kFolderSystem},
      {"C:\\Program Files", kFolderSystem},
      {"C:\\Program Files\\Merlox IDE CD-ROM Drive\\..", kFolderOddName},
      {"C:\\Program Files\\..\\Merlox IDE CD-ROM Drive", kFolderOddName},
      {"C:\\Program Files\\\\Merlox IDE CD-ROM Drive", kFolderOddName},
      {"C:\\Program Files\\Merlox*", kFolderOddName},
      {"C:\\Program Files\\Other Product", kFolderNotProducts},
      {"C:\\Program Files\\Merlox IDE CD-ROM Drive\\Sub", kFolderNotProducts},
      {"C:\\Program Files\\Merlox IDE CD-ROM Drive 2", kFolderNotProducts},
      {"C:\\Program Files\\Merlox\x01\\Merlox IDE CD-ROM Drive", kFolderOddName},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(JudgeProductFolder(c.folder, kName, kDirs, nullptr), c.verdict) << c.folder;
  }
  // However long, a folder is judged, never copied into a buffer of its own.
  const std::string deep = "C:\\" + std::string(900, 'a') + "\\Merlox IDE CD-ROM Drive";
  EXPECT_EQ(JudgeProductFolder(deep, kName, kDirs, nullptr), kFolderTooLong);
}

// In code page 932 the byte 0x5C after a lead byte is no backslash: neither
// a folder that ends in one nor a file below it is split there.
TEST_F(RemovalPathsTest, DoubleByteNamesAreWalkedByCharacter) {
  auto lead = [](unsigned char b) { return b >= 0x81 && b <= 0x9F; };
  const std::string folder = "C:\\\x95\\";  // one character, no trailing backslash
  EXPECT_FALSE(FileDirectlyIn(folder + "x.dll", "C:\\\x95", lead));
  EXPECT_TRUE(FileDirectlyIn("C:\\\x95\\\\x.dll", "C:\\\x95\\", lead));
  EXPECT_FALSE(SameDirectory("C:\\\x95\\", "C:\\\x95", lead));
}

TEST_F(RemovalPathsTest, AFileMustBeDirectlyInItsFolder) {
  const char folder[] = "C:\\Program Files\\Merlox IDE CD-ROM Drive\\";
  struct Case {
    const char* file;
    bool inside;
  } cases[] = {
      {"C:\\Program Files\\Merlox IDE CD-ROM Drive\\uninstall.exe", true},
      {"c:\\program files\\merlox ide cd-rom drive\\MSCOMSTF.dll", true},
      {"C:\\Program Files\\Merlox IDE CD-ROM Drive\\", false},
      {"C:\\Program Files\\Merlox IDE CD-ROM Drive\\..\\x.dll", false},
      {"C:\\Program Files\\Merlox IDE CD-ROM Drive\\sub\\x.dll", false},
      {"C:\\Program Files\\Merlox IDE CD-ROM Drive 2\\x.dll", false},
      {"C:\\Program Files\\Merlox IDE CD-ROM Drive\\x.dll:stream", false},
      {"C:\\windows\\MSCOMSTF.dll", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FileDirectlyIn(c.file, folder, nullptr), c.inside) << c.file;
  }
  EXPECT_FALSE(FileDirectlyIn("C:\\x.dll", "", nullptr));
  EXPECT_FALSE(FileDirectlyIn(std::string(folder) + std::string(930, 'A'), folder, nullptr));
}

}  // namespace
