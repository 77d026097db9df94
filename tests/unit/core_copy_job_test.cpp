#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core_copy_rig.h"
#include "core_packing.h"

namespace stf {
namespace {

using test::Rig;
using test::ScriptedUser;
using test::Target;
using test::Old;
using test::New;
using test::kDrivers;
using test::kDest;

TEST(CopyJob, OverwritesTheSetAndLeavesNothingElse) {
  Rig s(3);
  EXPECT_EQ(s.Run(), grcOkay);
  s.ExpectSet(3, true);
  EXPECT_TRUE(s.fs.DeletedAtReboot().empty());
  EXPECT_EQ(s.user.shown, std::vector<std::string>({"show 0"}));  // left up for the caller
  EXPECT_EQ(s.user.lastDone, s.user.lastTotal);
  EXPECT_FALSE(s.user.progressWentBack);
  // The copied line names the directory as it is spelled on disk.
  EXPECT_TRUE(s.user.Logged("copied: C:\\disk\\f2.sys -> " + std::string(kDrivers) +
                            "\\F2.SYS (3005)"));
}

// The same disk again: a source whose size and SHA-256 are the installed
// file's (expanded when it is compressed) is not copied, and a copy of only
// such files changes nothing at all: no journal, no staging, nothing for the boot.
TEST(CopyJob, AFileAlreadyInPlaceIsNotCopiedAgain) {
  const struct {
    const char* name;
    std::string installed;  // f1.sys; the disk's is New(1)
    bool copied;
  } cases[] = {
      {"identical", New(1), false},
      {"same size, other bytes", std::string(New(1).size(), 'x'), true},
      {"same size, the last byte other", New(1).substr(0, New(1).size() - 1) + "x", true},
      {"other size", Old(1), true},
  };
  for (const auto& c : cases) {
    Rig s(1, false);
    s.fs.AddFile(Target(1), c.installed);
    const int before = s.fs.Changes();
    EXPECT_EQ(s.RunKeeping(), grcOkay) << c.name;
    EXPECT_EQ(s.fs.Data(Target(1)), New(1)) << c.name;
    EXPECT_EQ(s.pending.changes, c.copied ? 1u : 0u) << c.name;
    EXPECT_EQ(s.user.Logged("copied: "), c.copied) << c.name;
    EXPECT_EQ(s.user.Logged("note: Unchanged: "), !c.copied) << c.name;
    if (!c.copied) {
      EXPECT_EQ(s.fs.Changes(), before) << c.name;
    }
  }
  Rig packed(1, false);
  packed.fs.AddFile("C:\\disk\\f1.sys", test::LzCompress(New(1)));
  packed.fs.AddFile(Target(1), New(1));
  EXPECT_EQ(packed.Run(), grcOkay);
  EXPECT_TRUE(packed.user.Logged("note: Unchanged: "));
}

// The log gives the bytes the copy wrote, which a source that changed since
// the plan makes other than the size planned.
TEST(CopyJob, TheCopiedLineGivesTheBytesWritten) {
  struct Growing : ScriptedUser {
    test::MemoryFs* fs = nullptr;
    void Copying(const std::string&) override { fs->AddFile("C:\\disk\\f1.sys", New(1) + "more"); }
  };
  Rig s(1);
  Growing user;
  user.fs = &s.fs;
  EXPECT_EQ(RunCopyJob(s.job, s.fs, user), grcOkay);
  EXPECT_TRUE(user.Logged("F1.SYS (" + std::to_string(New(1).size() + 4) + ")"));
}

TEST(CopyJob, FreshInstallMakesTheDirectory) {
  Rig s(2, false);
  s.job.items[1].target = "C:\\windows\\SYSTEM32\\NEW\\SUB\\F2.SYS";
  EXPECT_EQ(s.Run(), grcOkay);
  EXPECT_EQ(s.fs.Data(Target(1)), New(1));
  EXPECT_EQ(s.fs.Data("C:\\windows\\system32\\NEW\\SUB\\F2.SYS"), New(2));
  EXPECT_EQ(s.fs.List("C:\\windows\\system32\\NEW"),
            std::vector<std::string>({"C:\\windows\\system32\\NEW\\SUB",
                                      "C:\\windows\\system32\\NEW\\SUB\\F2.SYS"}));
}

// A volume that fills up part way through file k, which the free-space check
// did not see coming: the old set stays, nothing staged is left behind.
TEST(CopyJob, DiskFullAtFileKLeavesTheOldSet) {
  for (int k = 1; k <= 6; ++k) {
    Rig s(6);
    // Room for the journal and k - 1 files.
    s.fs.SetCapacity(s.fs.Used() + 2500 + (k - 1) * New(1).size() + 100);
    s.fs.ReportFreeSpace(1 << 30);
    EXPECT_EQ(s.Run(), grcDiskFull) << k;
    s.ExpectSet(6, false);
    EXPECT_TRUE(s.user.Logged("error 112: Cannot copy C:\\disk\\f" + std::to_string(k)));
    EXPECT_EQ(s.user.shown.back(), "remove");
  }
}

TEST(CopyJob, FreeSpaceCheckedBeforeAnyChange) {
  Rig s(3, false);
  s.fs.SetCapacity(s.fs.Used() + 4000);
  EXPECT_EQ(s.Run(), grcDiskFull);
  EXPECT_EQ(s.fs.Changes(), 0);
  EXPECT_TRUE(s.user.Logged("error 112: There is not enough free space on C:"));
}

// The journal's bytes are counted too: space for the files alone is not enough.
TEST(CopyJob, TheSpaceNeededHoldsTheJournal) {
  const std::uint64_t files = 3 * 4096;  // each file, rounded up to its cluster
  for (std::uint64_t free : {files + 4096, files + 4096 + 3 * 1024}) {
    Rig t(3, false);
    t.fs.ReportFreeSpace(free);
    EXPECT_EQ(t.Run(), free > files + 4096 ? grcOkay : grcDiskFull) << free;
  }
}

TEST(CopyJob, RetryThenSuccessAndCancel) {
  Rig retry(3);
  retry.job.quiet = false;
  retry.fs.FailCall("Read", "F2.SYS", 1, 23);  // ERROR_CRC
  retry.user.retryAnswers = {true};
  EXPECT_EQ(retry.Run(), grcOkay);
  EXPECT_EQ(retry.user.questions, 1);
  retry.ExpectSet(3, true);

  Rig cancel(3);
  cancel.job.quiet = false;
  cancel.fs.FailCall("Write", "\\2.new", 1, 5);
  EXPECT_EQ(cancel.Run(), grcUserAbort);
  cancel.ExpectSet(3, false);

  Rig quiet(3);  // quiet mode asks nobody and gives the failure's own result
  quiet.fs.FailCall("Read", "F2.SYS", 1, 23);
  EXPECT_EQ(quiet.Run(), grcReadError);
  EXPECT_EQ(quiet.user.questions, 0);
  quiet.ExpectSet(3, false);
}

// A flush that fails after the next file was started (on another thread).
TEST(CopyJob, LateFlushFailureIsRetriedOrStopsTheCopy) {
  Rig retry(3);
  retry.job.quiet = false;
  retry.fs.DeferFlushes();
  retry.fs.FailCall("Flush", "\\1.new", 1, 1117);
  retry.user.retryAnswers = {true};
  EXPECT_EQ(retry.Run(), grcOkay);
  EXPECT_EQ(retry.user.questions, 1);
  retry.ExpectSet(3, true);
  EXPECT_EQ(retry.user.lastDone, retry.user.lastTotal);

  Rig quiet(3);
  quiet.fs.DeferFlushes();
  quiet.fs.FailCall("Flush", "\\1.new", 1, kErrorDiskFull);
  EXPECT_EQ(quiet.Run(), grcDiskFull);
  quiet.ExpectSet(3, false);
}

// What the person is told: the file the copy goes on with, and for a failed
// file whether it could not be read from the disk or not be written.
struct NamingUser : ScriptedUser {
  std::vector<std::string> copying, faults;
  void Copying(const std::string& name) override { copying.push_back(name); }
  void LogFileError(const std::string& text, SysError error, const std::string& file,
                    bool reading) override {
    faults.push_back((reading ? "read " : "write ") + file);
    LogError(text, error);
  }
};

TEST(CopyJob, NamesEachFileItCopiesAndTheSideOfAFailure) {
  Rig s(3);
  NamingUser user;
  EXPECT_EQ(RunCopyJob(s.job, s.fs, user), grcOkay);
  EXPECT_EQ(user.copying, (std::vector<std::string>{"F1.SYS", "F2.SYS", "F3.SYS"}));
  EXPECT_TRUE(user.faults.empty());

  const struct {
    const char* call;
    const char* path;
    SysError error;
    const char* fault;
  } cases[] = {
      {"Read", "F2.SYS", 23, "read C:\\disk\\f2.sys"},
      {"Write", "\\1.new", 112, "write C:\\windows\\SYSTEM32\\DRIVERS\\F2.SYS"},
  };
  for (const auto& c : cases) {
    Rig failing(3);
    NamingUser named;
    failing.fs.FailCall(c.call, c.path, 1, c.error);
    EXPECT_NE(RunCopyJob(failing.job, failing.fs, named), grcOkay);
    EXPECT_EQ(named.faults, std::vector<std::string>{c.fault}) << c.call;
  }
}

TEST(CopyJob, NonVitalFailuresAreSkipped) {
  Rig s(4);
  s.job.items[1].vital = false;
  s.job.items[2].vital = false;
  s.job.items[1].source = "C:\\disk\\missing.sys";
  s.fs.FailCall("Write", "\\2.new", 1, kErrorDiskFull);
  EXPECT_EQ(s.Run(), grcOkay);
  EXPECT_EQ(s.fs.Data(Target(1)), New(1));
  EXPECT_EQ(s.fs.Data(Target(2)), Old(2));
  EXPECT_EQ(s.fs.Data(Target(3)), Old(3));
  EXPECT_EQ(s.fs.Data(Target(4)), New(4));
  EXPECT_TRUE(s.user.Logged("note: Skipped " + std::string(kDest) + "F2.SYS"));
  EXPECT_TRUE(s.user.Logged("note: Skipped " + std::string(kDest) + "F3.SYS"));
  EXPECT_EQ(s.fs.List(kDrivers).size(), 4u);

  Rig vital(2);
  vital.job.items[1].source = "C:\\disk\\missing.sys";
  EXPECT_EQ(vital.Run(), grcSourceMissing);
  EXPECT_EQ(vital.fs.Changes(), 0);
}

TEST(CopyJob, RequiredVersionAndNoDowngrade) {
  struct Case {
    const char* required;
    const char* installed;  // "" for a file without a version
    const char* source;
    bool quiet;
    std::vector<bool> keep;
    int grc;
    bool replaced;
    int questions;
  } cases[] = {
      {"3.10", "", "3.10.0.0", true, {}, grcOkay, true, 0},
      {"3.10.0.61", "", "3.10.0.60", true, {}, grcWrongVersion, false, 0},
      {"1", "", "", true, {}, grcWrongVersion, false, 0},
      {"", "3.10.0.61", "3.10.0.50", true, {}, grcOkay, false, 0},
      {"", "3.10.0.61", "3.10.0.50", false, {}, grcOkay, false, 1},
      {"", "3.10.0.61", "3.10.0.50", false, {false}, grcOkay, true, 1},
      {"", "3.10.0.61", "3.10.0.61", false, {}, grcOkay, true, 0},
      {"", "", "1.0", true, {}, grcOkay, true, 0},
      // A file without a version never silently replaces one with a version.
      {"", "2.0", "", true, {}, grcOkay, false, 0},
      {"", "2.0", "", false, {}, grcOkay, false, 1},
      {"", "2.0", "", false, {false}, grcOkay, true, 1},
  };
  for (const Case& c : cases) {
    Rig s(1);
    FileVersion v;
    const std::string source =
        *c.source ? (ParseVersionText(c.source, &v), test::ImageWithVersion(v)) : "plain data";
    const std::string installed =
        *c.installed ? (ParseVersionText(c.installed, &v), test::ImageWithVersion(v)) : "old";
    s.fs.AddFile("C:\\disk\\f1.sys", source);
    s.fs.AddFile(Target(1), installed);
    s.job.items[0].requiredVersion = c.required;
    s.job.quiet = c.quiet;
    s.user.keepAnswers.assign(c.keep.begin(), c.keep.end());
    const std::string what = std::string(c.required) + "/" + c.installed + "/" + c.source;
    EXPECT_EQ(s.Run(), c.grc) << what;
    EXPECT_EQ(s.fs.Data(Target(1)), c.replaced ? source : installed) << what;
    EXPECT_EQ(s.user.questions, c.questions) << what;
    EXPECT_EQ(s.fs.List(kDrivers).size(), 1u) << what;
  }
}

TEST(CopyJob, FailureWhilePuttingInPlaceRestoresEveryOldFile) {
  for (bool links : {true, false}) {
    Rig s(4, true);
    s.fs.FailCall("Move", "\\3.new ->", 1, 1117);  // ERROR_IO_DEVICE
    s.fs.Delete(Target(4));  // f4 is new: it must go again
    if (!links) s.fs.NoLinks();
    EXPECT_EQ(s.Run(), grcCannotWrite);
    // Renamed back, an old file may take the spelling of the INF's name.
    EXPECT_EQ(s.fs.List(kDrivers).size(), 3u);
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(s.fs.Data(Target(i)), Old(i)) << links;
  }
}

TEST(CopyJob, TargetInUseIsMovedAsideAndRemovedAtRestart) {
  for (bool links : {true, false}) {
    Rig s(2);
    s.fs.SetBusy(Target(2));
    if (!links) s.fs.NoLinks();
    EXPECT_EQ(s.Run(), grcOkay);
    EXPECT_EQ(s.fs.Data(Target(2)), New(2));
    ASSERT_FALSE(s.fs.DeletedAtReboot().empty());
    EXPECT_TRUE(s.user.Logged("is in use; it will be removed when Windows restarts"));
    // What waits for the restart is all that is left besides the targets.
    EXPECT_GE(s.fs.List(kDrivers).size(), 3u);
  }
}

TEST(CopyJob, Billboards) {
  Rig s(4);
  s.job.billboardTicks = {1, 1, 2};
  EXPECT_EQ(s.Run(), grcOkay);
  EXPECT_EQ(s.user.shown, std::vector<std::string>(
                              {"show 0", "remove", "show 1", "remove", "show 2"}));

  Rig broken(4);
  broken.job.billboardTicks = {1, 1, 2};
  broken.user.billboardWorks = {true, false, true};
  EXPECT_EQ(broken.Run(), grcOkay);
  EXPECT_EQ(broken.user.shown,
            std::vector<std::string>(
                {"show 0", "remove", "cannot show 1", "show 0", "remove", "show 2"}));

  Rig none(1);
  none.user.billboardWorks = {false};
  EXPECT_EQ(none.Run(), grcNoBillboard);
  EXPECT_EQ(none.fs.Changes(), 0);
}

TEST(CopyJob, RefusesNamesThatLeaveTheDirectory) {
  Rig s(1);
  s.job.items[0].target = std::string(kDest) + "..";
  EXPECT_EQ(s.Run(), grcUnsafeName);
  EXPECT_EQ(s.fs.Changes(), 0);
}

}  // namespace
}  // namespace stf
