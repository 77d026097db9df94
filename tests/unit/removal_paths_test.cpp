// What the uninstaller may remove: the product's own folder, and files
// directly in it or in the drivers directory; never a place it did not make.
#include "support/removal_paths.h"
#include "tests/fakes/process_state.h"

namespace {

using RemovalPathsTest = SetupTest;

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
  };
  for (const Case& c : cases) {
    EXPECT_EQ(JudgeProductFolder(c.folder, kName, kDirs), c.verdict) << c.folder;
  }
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
  for (const Case& c : cases) EXPECT_EQ(FileDirectlyIn(c.file, folder), c.inside) << c.file;
  EXPECT_FALSE(FileDirectlyIn("C:\\x.dll", ""));
}

}  // namespace
