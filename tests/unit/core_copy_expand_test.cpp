// Compressed sources in the copy job: expanded into the staged file, counted
// at their expanded size, their versions read expanded, and a damaged one a
// failure of its file that leaves the destination as it was.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "copy_job.h"
#include "core_memory_fs.h"
#include "core_packing.h"
#include "packed_file.h"

namespace stf {
namespace {

using test::Cabinet;
using test::LzCompress;
using test::Noise;
using test::Prose;

const char kDrivers[] = "C:\\windows\\system32\\drivers";
const std::string kDriver = Prose(6000);
const std::string kOther = Noise(2000, 5);

// A disk with a compressed driver (f1) and a plain file (f2) over an old set.
struct Rig {
  test::MemoryFs fs;
  test::ScriptedUser user;
  CopyJob job;

  explicit Rig(const std::string& packedDriver) {
    fs.AddDir("C:\\windows");
    fs.AddDir("C:\\windows\\system32");
    fs.AddDir(kDrivers);
    fs.AddDir("C:\\disk");
    fs.AddFile("C:\\disk\\f1.sy_", packedDriver);
    fs.AddFile("C:\\disk\\f2.sys", kOther);
    fs.AddFile(Target(1), "old driver");
    fs.AddFile(Target(2), "old other");
    job.items = {{"C:\\disk\\f1.sy_", std::string(kDrivers) + "\\f1.sys", true, "", {}},
                 {"C:\\disk\\f2.sys", std::string(kDrivers) + "\\f2.sys", true, "", {}}};
    job.billboardTicks = {5};
    job.quiet = true;
    job.chunkBytes = 512;
  }
  static std::string Target(int i) { return std::string(kDrivers) + "\\f" + std::to_string(i) + ".sys"; }
  int Run() { return RunCopyJob(job, fs, user); }
  void ExpectUnchanged() {
    EXPECT_TRUE(fs.Data(Target(1)) == "old driver");
    EXPECT_TRUE(fs.Data(Target(2)) == "old other");
    EXPECT_EQ(fs.List(kDrivers), std::vector<std::string>({Target(1), Target(2)}));
  }
};

TEST(CopyExpand, CompressedDriversAreInstalledExpanded) {
  const std::pair<std::string, const char*> forms[] = {
      {LzCompress(kDriver), "LZ"}, {Cabinet(kDriver, false), "cabinet"}, {Cabinet(kDriver, true), "cabinet"}};
  for (const auto& [packed, kind] : forms) {
    Rig s(packed);
    ASSERT_EQ(s.Run(), grcOkay) << kind;
    EXPECT_TRUE(s.fs.Data(Rig::Target(1)) == kDriver) << kind;
    EXPECT_TRUE(s.fs.Data(Rig::Target(2)) == kOther);
    EXPECT_TRUE(s.user.Logged("note: Copied: C:\\disk\\f1.sy_ -> " + Rig::Target(1) + " (6000 bytes, expanded from " +
                              std::to_string(packed.size()) + " bytes, " + kind + ")"));
    EXPECT_TRUE(s.user.Logged("copied: C:\\disk\\f2.sys -> " + Rig::Target(2) + " (2000)"));
    EXPECT_EQ(s.user.lastTotal, 8000u);  // the gauge counts expanded bytes
    EXPECT_EQ(s.user.lastDone, 8000u);
    EXPECT_FALSE(s.user.progressWentBack);
  }
}

// The compressed file would fit; the expanded one does not.
TEST(CopyExpand, FreeSpaceIsCheckedForTheExpandedSize) {
  Rig s(LzCompress(kDriver));
  s.fs.ReportFreeSpace(4096 * 3 + 2 * 1024);
  EXPECT_EQ(s.Run(), grcDiskFull);
  EXPECT_TRUE(s.user.Logged("bytes are needed"));
  s.ExpectUnchanged();
}

TEST(CopyExpand, ADamagedCompressedFileFailsItsCopyAndChangesNothing) {
  std::string garbled = Cabinet(kDriver, true);
  garbled.replace(44 + 16 + 13 + 8 + 4, 20, std::string(20, '\xFF'));  // in the first block's data
  std::string twoFiles = Cabinet(kDriver, true);
  twoFiles[28] = 2;
  for (const std::string& damaged : {garbled, twoFiles, LzCompress(kDriver).substr(0, 300)}) {
    Rig quiet(damaged);
    EXPECT_EQ(quiet.Run(), grcReadError);
    EXPECT_TRUE(quiet.user.Logged("error 1392: Cannot copy C:\\disk\\f1.sy_"));
    quiet.ExpectUnchanged();

    Rig asked(damaged);
    asked.job.quiet = false;
    asked.user.retryAnswers = {true, false};
    EXPECT_EQ(asked.Run(), grcUserAbort);
    EXPECT_EQ(asked.user.questions, 2);
    asked.ExpectUnchanged();

    Rig optional(damaged);
    optional.job.items[0].vital = false;
    EXPECT_EQ(optional.Run(), grcOkay);
    EXPECT_TRUE(optional.fs.Data(Rig::Target(1)) == "old driver");
    EXPECT_TRUE(optional.fs.Data(Rig::Target(2)) == kOther);
  }
}

TEST(CopyExpand, VersionsAreReadFromTheExpandedFile) {
  FileVersion v2;
  ParseVersionText("2.0", &v2);
  const std::string image = test::ImageWithVersion(v2);
  struct Case {
    const char* required;
    const char* installed;  // version of the old file, or null for text
    int grc;
    bool replaced;
    bool restoring = false;
  } cases[] = {{"2.0", nullptr, grcOkay, true},
               {"2.1", nullptr, grcWrongVersion, false},
               {"", "3.0", grcOkay, false},  // the newer installed file is kept
               {"", "1.0", grcOkay, true},
               // Putting back the driver an update replaced: the older file is the one wanted.
               {"", "3.0", grcOkay, true, true}};
  for (const Case& c : cases) {
    for (const std::string& packed : {LzCompress(image), Cabinet(image, true)}) {
      Rig s(packed);  // the version is read through the expander, at scattered offsets
      s.job.items[0].requiredVersion = c.required;
      s.job.restoring = c.restoring;
      FileVersion old;
      if (c.installed && ParseVersionText(c.installed, &old)) {
        s.fs.AddFile(Rig::Target(1), test::ImageWithVersion(old));
      }
      EXPECT_EQ(s.Run(), c.grc) << c.required << " " << (c.installed ? c.installed : "");
      EXPECT_EQ(s.fs.Data(Rig::Target(1)) == image, c.replaced) << c.required;
    }
  }
}

}  // namespace
}  // namespace stf
