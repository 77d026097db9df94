// The copy judges the bytes it stages, never the source read at another
// time: a file swapped on the disk while the copy runs is caught in the
// staged copy; on a signed disk it stops the copy with the old set intact,
// on an unsigned one it is a damaged disk that is read again on Retry.
#include <gtest/gtest.h>

#include "core_copy_rig.h"
#include "core_packing.h"

namespace stf {
namespace test {
namespace {

ExpectedBytes Expect(const std::string& data) {
  ExpectedBytes e;
  e.listed = true;
  e.size = data.size();
  Sha256 sha;
  sha.Update(data.data(), data.size());
  sha.Finish(e.digest);
  return e;
}

// Replaces a file's data when the copy starts to stage the first file: after
// every check made before the copy, before the file itself is read.
class SwappingFs : public MemoryFs {
 public:
  std::string first, victim, swapped;
  int firstOpens = 0;
  SysError OpenRead(const std::string& path, FileHandle* out) override {
    if (ToUpperAscii(path) == ToUpperAscii(first) && ++firstOpens == 2) AddFile(victim, swapped);
    return MemoryFs::OpenRead(path, out);
  }
};

struct ManifestRig {
  SwappingFs fs;
  ScriptedUser user;
  CopyJob job;
  explicit ManifestRig(bool diskSigned) {
    fs.AddDir("C:\\windows");
    fs.AddDir("C:\\windows\\system32");
    fs.AddDir(kDrivers);
    fs.AddDir("C:\\disk");
    for (int i = 1; i <= 2; ++i) {
      fs.AddFile("C:\\disk\\f" + std::to_string(i) + ".sys", New(i));
      fs.AddFile(Target(i), Old(i));
      job.items.push_back({"C:\\disk\\f" + std::to_string(i) + ".sys",
                           kDest + std::string("F") + std::to_string(i) + ".SYS", true, "",
                           Expect(New(i))});
    }
    job.quiet = diskSigned;
    job.diskSigned = diskSigned;
    job.chunkBytes = 64;
    fs.first = job.items[0].source;
    fs.victim = job.items[1].source;
    fs.swapped = "a text file in the driver's place";
  }
};

TEST(CopyManifest, AFileSwappedWhileTheCopyRunsIsRefusedOnASignedDisk) {
  ManifestRig rig(true);
  EXPECT_EQ(RunCopyJob(rig.job, rig.fs, rig.user), grcChangedDisk);
  EXPECT_EQ(rig.fs.Data(Target(1)), Old(1));
  EXPECT_EQ(rig.fs.Data(Target(2)), Old(2));
  EXPECT_EQ(rig.fs.List(kDrivers).size(), 2u) << "nothing staged is left";
  EXPECT_TRUE(rig.user.Logged("C:\\disk\\f2.sys differs from the one the signed installation disk"));
  EXPECT_TRUE(rig.user.Logged("Matches the disk's manifest: C:\\disk\\f1.sys"));
  EXPECT_EQ(rig.user.questions, 0);
}

TEST(CopyManifest, OnAnUnsignedDiskADamagedFileIsReadAgainOnRetry) {
  ManifestRig rig(false);
  // The person cleans the disk and chooses Retry: it reads right this time.
  struct Cleaning : ScriptedUser {
    SwappingFs* fs = nullptr;
    bool AskRetry(const std::string& problem, SysError error) override {
      fs->AddFile("C:\\disk\\f2.sys", New(2));
      ScriptedUser::AskRetry(problem, error);
      return true;
    }
  } user;
  user.fs = &rig.fs;
  EXPECT_EQ(RunCopyJob(rig.job, rig.fs, user), grcOkay);
  ASSERT_EQ(user.questions, 1);
  EXPECT_NE(user.problems[0].find("C:\\disk\\f2.sys on the installation disk is damaged"),
            std::string::npos)
      << user.problems[0];
  EXPECT_EQ(rig.fs.Data(Target(2)), New(2));
}

TEST(CopyManifest, UnlistedSourcesStopASignedCopyBeforeAnythingAndAreNotedOnAnUnsignedOne) {
  for (bool diskSigned : {true, false}) {
    ManifestRig rig(diskSigned);
    rig.fs.swapped = New(2);  // no swap: only the listing counts here
    rig.job.items[1].expected = ExpectedBytes();
    const int changesBefore = rig.fs.Changes();
    EXPECT_EQ(RunCopyJob(rig.job, rig.fs, rig.user), diskSigned ? grcChangedDisk : grcOkay);
    if (diskSigned) {
      EXPECT_EQ(rig.fs.Changes(), changesBefore) << "refused before anything changed";
      EXPECT_TRUE(rig.user.Logged("C:\\disk\\f2.sys is not one of the files of the signed"));
    } else {
      EXPECT_TRUE(rig.user.Logged("a file added to the disk): C:\\disk\\f2.sys"));
      EXPECT_EQ(rig.fs.Data(Target(2)), New(2));
    }
  }
}

// A compressed source lands expanded: the expanded bytes are what is matched.
TEST(CopyManifest, ACompressedSourceIsMatchedAsItLands) {
  ManifestRig rig(true);
  rig.fs.swapped = New(2);
  rig.fs.AddFile("C:\\disk\\f2.sy_", LzCompress(New(2)));
  rig.job.items[1].source = "C:\\disk\\f2.sy_";
  EXPECT_EQ(RunCopyJob(rig.job, rig.fs, rig.user), grcOkay);
  EXPECT_EQ(rig.fs.Data(Target(2)), New(2));
  rig.job.items[1].expected = Expect(New(2) + "!");
  EXPECT_EQ(RunCopyJob(rig.job, rig.fs, rig.user), grcChangedDisk);
}

// The system's last word (the staged file's signature) stops the copy with nothing placed.
TEST(CopyManifest, AStagedFileTheSystemRefusesIsNeverPutInPlace) {
  ManifestRig rig(true);
  rig.fs.swapped = New(2);
  struct Refusing : ScriptedUser {
    std::vector<std::string> judged;
    bool AcceptStaged(const std::string& source, const std::string& staged) override {
      judged.push_back(source + " as " + staged);
      return source.find("f2") == std::string::npos;
    }
  } user;
  EXPECT_EQ(RunCopyJob(rig.job, rig.fs, user), grcChangedDisk);
  ASSERT_EQ(user.judged.size(), 2u);
  EXPECT_NE(user.judged[1].find(".new"), std::string::npos) << "the staged copy is judged";
  EXPECT_EQ(rig.fs.Data(Target(1)), Old(1));
  EXPECT_EQ(rig.fs.List(kDrivers).size(), 2u);
}

}  // namespace
}  // namespace test
}  // namespace stf
