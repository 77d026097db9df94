// What the copy leaves: the replaced files kept until the install ends,
// attributes that are no "in use", and nothing of ours after any run.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "copy_recovery.h"
#include "core_copy_rig.h"

namespace stf {
namespace {

using test::Killed;
using test::Rig;
using test::ScriptedUser;
using test::Target;

std::vector<std::string> Targets(int n) {
  std::vector<std::string> paths;
  for (int i = 1; i <= n; ++i) paths.push_back(ToUpperAscii(Target(i)));
  return paths;
}

std::vector<std::string> Listed(const test::MemoryFs& fs) {
  std::vector<std::string> paths;
  for (const std::string& path : fs.List(test::kDrivers)) paths.push_back(ToUpperAscii(path));
  std::sort(paths.begin(), paths.end());
  return paths;
}

TEST(CopyFinish, ReplacedFilesStayUntilFinishedOrUndone) {
  for (bool oldSet : {true, false}) {
    for (bool links : {true, false}) {
      for (bool undo : {true, false}) {
        Rig s(2, oldSet);
        s.job.items[1].target = "C:\\windows\\NEW\\F2.SYS";
        if (!links) s.fs.NoLinks();
        ASSERT_EQ(s.RunKeeping(), grcOkay);
        EXPECT_EQ(s.pending.changes, 2u);
        EXPECT_EQ(s.fs.Data(Target(1)), test::New(1));
        bool oldKept = false;  // in the staging folder
        for (const std::string& path : s.fs.List(test::kDrivers)) {
          oldKept |= s.fs.Data(path) == test::Old(1);
        }
        EXPECT_EQ(oldKept, oldSet);
        EXPECT_TRUE(undo ? UndoCopy(s.fs, s.user, &s.pending)
                         : FinishCopy(s.fs, s.user, &s.pending));
        EXPECT_EQ(Listed(s.fs), Targets(oldSet ? 2 : undo ? 0 : 1));  // f2 went elsewhere
        EXPECT_EQ(s.fs.Data(Target(1)), undo ? (oldSet ? test::Old(1) : "") : test::New(1));
        EXPECT_EQ(s.fs.Has("C:\\windows\\NEW"), !undo);  // made by the copy: gone with it
        EXPECT_TRUE(s.pending.journalPath.empty());
        EXPECT_TRUE(UndoCopy(s.fs, s.user, &s.pending));  // harmless twice
      }
    }
  }
  Rig kept(1);  // every file kept: nothing changed, nothing pending
  FileVersion v{{2, 0, 0, 0}};
  kept.fs.AddFile(Target(1), test::ImageWithVersion(v));
  EXPECT_EQ(kept.RunKeeping(), grcOkay);
  EXPECT_EQ(kept.pending.changes, 0u);
  EXPECT_TRUE(kept.pending.journalPath.empty());
  EXPECT_EQ(Listed(kept.fs), Targets(1));
}

// Killed while finishing or undoing: the next run ends it the same way.
TEST(CopyFinish, KilledWhileFinishingOrUndoing) {
  for (bool undo : {true, false}) {
    for (int n = 1;; ++n) {
      Rig s(3);
      s.fs.SetBusy(Target(2));
      ASSERT_EQ(s.RunKeeping(), grcOkay);
      s.fs.KillAt(s.fs.Changes() + n);
      try {
        undo ? UndoCopy(s.fs, s.user, &s.pending) : FinishCopy(s.fs, s.user, &s.pending);
        break;  // no step left to kill
      } catch (const Killed&) {
      }
      s.fs.Reboot();
      s.fs.KillAt(0);
      const std::string journal = test::kDest + std::string(kJournalName);
      // An undo killed before its journal said so is completed instead: whole either way.
      const bool undoing = s.fs.Data(journal).find("state undo") != std::string::npos;
      ScriptedUser next;
      EXPECT_NE(RecoverInterruptedCopy(s.fs, next, journal), Recovery::kFailed);
      EXPECT_EQ(s.SetState(3), undoing ? 0 : 1) << n;
      EXPECT_TRUE(undo || !undoing);
    }
  }
}

// Read-only, hidden and system targets are replaced like any other, and a
// rollback gives them back their attributes.
TEST(CopyFinish, AttributesAreNoFileInUse) {
  const struct {
    std::uint32_t attributes;
    const char* logged;
  } cases[] = {{kAttributeReadOnly, "was read-only"},
               {kAttributeHidden | kAttributeSystem, "was hidden and system"},
               {kAttributesInTheWay, "was read-only, hidden and system"}};
  for (const auto& c : cases) {
    for (bool links : {true, false}) {
      Rig s(2);
      if (!links) s.fs.NoLinks();
      s.fs.SetAttr(Target(1), c.attributes);
      EXPECT_EQ(s.Run(), grcOkay);
      s.ExpectSet(2, true);
      EXPECT_EQ(s.fs.Attr(Target(1)) & kAttributesInTheWay, 0u);
      EXPECT_TRUE(s.user.Logged(c.logged)) << c.logged;
      EXPECT_FALSE(s.user.Logged("in use"));
      EXPECT_TRUE(s.fs.DeletedAtReboot().empty());

      Rig failed(2);
      if (!links) failed.fs.NoLinks();
      failed.fs.SetAttr(Target(1), c.attributes);
      failed.fs.FailCall("Move", "\\1.new ->", 1, 1117);
      EXPECT_EQ(failed.Run(), grcCannotWrite);
      failed.ExpectSet(2, false);
      EXPECT_EQ(failed.fs.Attr(Target(1)), c.attributes);
    }
  }
}

// Installs killed anywhere, a read-only target in use, restarts: once each
// run has ended nothing of ours is left; what waits for the restart goes then.
TEST(CopyFinish, NothingOfOursOutlivesTheRuns) {
  Rig probe(2);
  ASSERT_EQ(probe.Run(), grcOkay);
  for (int n = 1; n <= probe.fs.Changes() + 6; ++n) {
    Rig s(2);
    s.fs.SetAttr(Target(1), kAttributeReadOnly);
    s.fs.SetBusy(Target(1));
    s.fs.KillAt(n);
    try {
      s.Run();
    } catch (const Killed&) {
    }
    s.fs.Reboot();
    s.fs.KillAt(0);
    s.fs.Restart();
    if (s.fs.Has(Target(1))) s.fs.SetBusy(Target(1));  // loaded again at the boot
    EXPECT_EQ(s.Run(), grcOkay) << n;
    s.fs.Restart();
    s.ExpectSet(2, true);
  }
  // A staging folder still holding a file that is in use follows it at the restart.
  Rig busy(2);
  busy.fs.SetBusy(Target(2));
  ASSERT_EQ(busy.Run(), grcOkay);
  busy.fs.Restart();
  busy.ExpectSet(2, true);
}

// What earlier copies left where no journal lies is ours; nothing else is.
TEST(CopyFinish, LeftoversWithoutAJournalAreRemoved) {
  Rig s(1);
  const std::string dir = std::string(test::kDrivers) + "\\";
  s.fs.AddDir(dir + "~STF0BADF00D.tmp");
  s.fs.AddDir(dir + "~STF0BADF00D.tmp\\0");
  s.fs.AddFile(dir + "~STF0BADF00D.tmp\\0\\1.old", "x");
  s.fs.SetAttr(dir + "~STF0BADF00D.tmp\\0\\1.old", kAttributeReadOnly);
  s.fs.AddFile(dir + "~stfcopy.new", "STF copy jou");
  s.fs.AddFile(dir + "~stf1234.tmp", "not ours");
  s.fs.AddDir(dir + "~stfnotours");
  EXPECT_EQ(s.Run(), grcOkay);
  EXPECT_EQ(Listed(s.fs), (std::vector<std::string>{ToUpperAscii(Target(1)),
                                                     ToUpperAscii(dir + "~stf1234.tmp"),
                                                     ToUpperAscii(dir + "~stfnotours")}));
  EXPECT_TRUE(s.user.Logged("~STF0BADF00D.tmp, left by an earlier copy"));
}

// The free space needed is each new file whole (and the journal), beside the old set.
TEST(CopyFinish, FreeSpaceCountsEveryNewFileWhole) {
  for (std::uint64_t size : {4096u, 100000u, 1000000u}) {
    Rig s(3, true, 1 << 16);
    for (int i = 1; i <= 3; ++i) {
      s.fs.AddFile("C:\\disk\\f" + std::to_string(i) + ".sys", std::string(size, 'n'));
    }
    const std::uint64_t rounded = (size + 4095) / 4096 * 4096;
    s.fs.ReportFreeSpace(3 * rounded);  // the files, but not the journal
    EXPECT_EQ(s.Run(), grcDiskFull) << size;
    EXPECT_EQ(s.fs.Changes(), 0);
    s.fs.ReportFreeSpace(3 * rounded + 4096 + 3 * 1024);
    EXPECT_EQ(s.Run(), grcOkay) << size;
  }
}

// A file skipped after its flush failed leaves neither its staged copy nor
// the second name of the old file behind.
TEST(CopyFinish, SkippedAfterAFailedFlushLeavesNothing) {
  Rig s(3);
  s.job.items[1].vital = false;
  s.fs.DeferFlushes();
  s.fs.FailCall("Flush", "\\1.new", 1, 1117);
  EXPECT_EQ(s.Run(), grcOkay);
  EXPECT_EQ(s.fs.Data(Target(2)), test::Old(2));
  EXPECT_EQ(Listed(s.fs), Targets(3));
  EXPECT_TRUE(s.fs.DeletedAtReboot().empty());
}

}  // namespace
}  // namespace stf
