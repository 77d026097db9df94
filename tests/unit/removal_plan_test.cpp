// The uninstall entry's record of placed files, and what the uninstaller may
// take away of it: by content, by name for its own files, never by a bare
// path elsewhere, never past a path's length.
#include <gtest/gtest.h>

#include "support/removal_plan.h"

namespace {

const std::string kDigest(64, 'a');
const char kDrivers[] = "C:\\WINNT\\SYSTEM32\\DRIVERS\\";
const char kProduct[] = "C:\\Program Files\\Merlox IDE CD-ROM Drive\\";

std::string Bytes(const std::vector<std::string>& items) {
  std::string bytes;
  for (const std::string& item : items) bytes += item + '\0';
  return bytes + '\0';
}

std::string Hashed(const std::string& path) { return kDigest + " 5120 " + path; }

RemovalRules Rules() {
  RemovalRules rules;
  rules.protectedDirs = {"C:\\WINNT", "C:\\WINNT\\SYSTEM32\\", "C:\\Program Files\\"};
  rules.driversDir = kDrivers;
  rules.driverFile = std::string(kDrivers) + "mlxidecd.SYS";
  rules.productFolderName = "Merlox IDE CD-ROM Drive";
  rules.uninstallerFiles = {"uninstall.exe", "MSCOMSTF.dll"};
  return rules;
}

RemovalPlan Plan(const EntryRecord& entry) {
  RemovalPlan plan = PlanFolders(entry, Rules());
  PlanFiles(entry, Rules(), &plan);
  return plan;
}

TEST(InstallRecord, AnItemIsHashedOnlyWhenItsDigestAndSizeAreWhole) {
  PlacedFile file{"C:\\x\\a b.sys", true, 5120, kDigest};
  const PlacedFile back = ReadPlacedFileItem(PlacedFileItem(file));
  EXPECT_TRUE(back.hashed && back.size == 5120 && back.path == file.path && back.sha256 == kDigest);
  const struct {
    std::string item;
    bool hashed;
  } cases[] = {
      {kDigest + " 0 C:\\x", true},
      {kDigest + " 18446744073709551615 C:\\x", true},
      {kDigest + " 18446744073709551616 C:\\x", false},  // past 64 bits
      {std::string(63, 'a') + " 1 C:\\x", false},
      {std::string(64, 'A') + " 1 C:\\x", false},  // the record writes lower case
      {kDigest + " C:\\x", false},
      {kDigest + " 12 ", false},  // no path
      {kDigest + "  12 C:\\x", false},
      {"C:\\WINNT\\SYSTEM32\\DRIVERS\\scsiport.sys", false},
  };
  for (const auto& c : cases) {
    const PlacedFile read = ReadPlacedFileItem(c.item);
    EXPECT_EQ(read.hashed, c.hashed) << c.item;
    if (!c.hashed) {
      EXPECT_EQ(read.path, c.item);
    }
  }
}

TEST(InstallRecord, ListsReadAsTheRegistryKeepsThem) {
  EXPECT_EQ(RegistryStrings(std::string("a\0b\0\0", 5)), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(RegistryStrings(std::string("a\0b", 3)), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(RegistryStrings(std::string("\0a\0\0", 4)), std::vector<std::string>{});
  EXPECT_EQ(RegistryStrings(std::string("a\0\0b\0\0", 6)), std::vector<std::string>{"a"});
  EXPECT_EQ(RegistryText(std::string("C:\\x\0junk", 9)), "C:\\x");
}

// The entry a reviewer makes of an install: our files with their digests, and
// a system driver, a 930-character path under DRIVERS and a 900-character one
// elsewhere appended.
TEST(RemovalPlan, OnlyHashedFilesInOurPlacesAreCandidates) {
  EntryRecord entry;
  entry.hasFiles = entry.hasFolders = true;
  const std::string longInDrivers = kDrivers + std::string(930 - sizeof kDrivers + 1, 'A');
  const std::string longElsewhere = "C:\\" + std::string(897, 'B');
  entry.files = Bytes({Hashed(std::string(kDrivers) + "mlxidecd.SYS"),
                       Hashed(std::string(kDrivers) + "added.sys"),
                       Hashed(std::string(kProduct) + "uninstall.exe"),
                       std::string(kProduct) + "MSCOMSTF.dll",
                       std::string(kDrivers) + "scsiport.sys",
                       Hashed(std::string(kDrivers) + "sub\\x.sys"),
                       Hashed("C:\\WINNT\\SYSTEM32\\ndis.sys"),
                       Hashed(longInDrivers), longElsewhere, Hashed(std::string(kDrivers) + "added.sys")});
  entry.folders = Bytes({kProduct});
  const RemovalPlan plan = Plan(entry);
  ASSERT_EQ(plan.files.size(), 3u);
  EXPECT_EQ(plan.files[0].file.path, std::string(kDrivers) + "added.sys");
  EXPECT_EQ(plan.files[0].removal, Removal::kIfUnchanged);
  EXPECT_EQ(plan.files[1].removal, Removal::kByName);  // the uninstaller's own
  EXPECT_EQ(plan.files[2].file.path, std::string(kProduct) + "MSCOMSTF.dll");
  EXPECT_EQ(plan.folders, std::vector<std::string>{kProduct});
  const std::vector<std::string> left = {"scsiport.sys", "sub\\x.sys", "ndis.sys", longInDrivers,
                                         longElsewhere};
  ASSERT_EQ(plan.warnings.size(), left.size());
  for (std::size_t i = 0; i < left.size(); ++i) {
    EXPECT_NE(plan.warnings[i].find(left[i]), std::string::npos) << plan.warnings[i];
  }
  EXPECT_NE(plan.warnings[0].find("without its size and SHA-256"), std::string::npos);
  EXPECT_NE(plan.warnings[3].find("930 characters"), std::string::npos);
}

// Entries of earlier setups: bare paths, or InstallLocation alone. Only the
// uninstaller's own files in the product's folder go; the driver goes with
// its service.
TEST(RemovalPlan, EarlierEntriesRemoveOnlyTheUninstallersOwnFiles) {
  EntryRecord bare;
  bare.hasFiles = bare.hasFolders = true;
  bare.files = Bytes({std::string(kDrivers) + "mlxidecd.SYS", std::string(kDrivers) + "added.sys",
                      std::string(kProduct) + "uninstall.exe", std::string(kProduct) + "notes.txt"});
  bare.folders = Bytes({kProduct});
  RemovalPlan plan = Plan(bare);
  ASSERT_EQ(plan.files.size(), 1u);
  EXPECT_EQ(plan.files[0].file.path, std::string(kProduct) + "uninstall.exe");
  EXPECT_EQ(plan.warnings.size(), 2u);

  EntryRecord located;
  located.location = std::string(kProduct) + '\0';
  plan = Plan(located);
  ASSERT_EQ(plan.files.size(), 2u);
  EXPECT_EQ(plan.files[1].file.path, std::string(kProduct) + "MSCOMSTF.dll");
  EXPECT_EQ(plan.files[1].removal, Removal::kByName);
  EXPECT_TRUE(plan.warnings.empty());

  located.location = "C:\\WINNT";  // unterminated, as a hand-edited value may be
  plan = Plan(located);
  EXPECT_TRUE(plan.files.empty() && plan.folders.empty());
  ASSERT_EQ(plan.warnings.size(), 1u);
  EXPECT_NE(plan.warnings[0].find("C:\\WINNT,"), std::string::npos) << plan.warnings[0];
}

}  // namespace
