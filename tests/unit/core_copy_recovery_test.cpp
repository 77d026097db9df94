// The journal trusted only when it proves itself, and what a killed run
// leaves completed, undone or refused, never mixed.
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

const std::string kJournal = std::string(test::kDest) + "~stfcopy.jnl";

Journal Sample(const std::string& dir = test::kDest, const std::string& name = "F1.SYS") {
  Journal j;
  j.dir = dir;
  j.state = JournalState::kCommit;
  const std::string stage = j.dir + "~stf00001234.tmp";
  j.stages = {stage, stage + "\\0"};
  j.scratch = j.dir + kJournalScratchName;
  j.entries.push_back({true, 1, j.dir + name, stage + "\\0\\0.new", stage + "\\0\\0.old",
                       stage + "\\0\\0.use"});
  return j;
}

TEST(CopyJournal, OnlyAWholeJournalOfItsOwnDirectoryIsRead) {
  const std::string text = JournalText(Sample());
  Journal j;
  std::string why;
  ASSERT_TRUE(ParseJournal(text, kJournal, &j, &why)) << why;
  EXPECT_EQ(JournalText(j), text);
  for (std::size_t cut = 0; cut < text.size(); ++cut) {
    EXPECT_FALSE(ParseJournal(text.substr(0, cut), kJournal, &j, &why)) << cut;
  }
  Journal outside = Sample();
  outside.entries[0].old = "C:\\windows\\system32\\config\\SYSTEM";
  Journal targetOutside = Sample();
  targetOutside.entries[0].target = "C:\\windows\\system32\\config\\SYSTEM";
  Journal scratchOutside = Sample();
  scratchOutside.scratch = "C:\\windows\\system32\\config\\SYSTEM";
  std::string flipped = text;
  flipped[text.find("F1.SYS")] = 'G';
  const std::string v1 =
      "STF copy journal 1\nstate commit\nstage " + Sample().stages[0] + "\nstage " +
      Sample().stages[1] + "\nfile 1\t" + Sample().entries[0].target + "\t" +
      Sample().entries[0].staged + "\t" + Sample().entries[0].old + "\t" +
      Sample().entries[0].busy + "\nend\n";
  // A double-byte name whose second byte is a backslash (code page 932).
  const std::string dbcs = "C:\\\x95\\\\";
  const struct {
    std::string text, path;
    bool read;
    const char* why;
  } cases[] = {
      {JournalText(Sample(dbcs, "\x95\\.SYS")), dbcs + kJournalName, true, ""},
      {flipped, kJournal, false, "checksum"},
      {text, "C:\\other\\~stfcopy.jnl", false, "belongs to the folder"},
      {JournalText(outside), kJournal, false, "outside"},
      {JournalText(targetOutside), kJournal, false, "lies outside that file's folder"},
      {JournalText(scratchOutside), kJournal, false, "scratch file outside its folders"},
      {text + "end\n", kJournal, false, "checksum"},
      {v1, kJournal, true, ""},
      {v1.substr(0, v1.size() - 4), kJournal, false, "cut short"},
      {v1, "C:\\other\\~stfcopy.jnl", false, "not one of setup's"},
  };
  for (const auto& c : cases) {
    why.clear();
    EXPECT_EQ(ParseJournal(c.text, c.path, &j, &why), c.read) << c.why;
    EXPECT_NE(why.find(c.why), std::string::npos) << why;
  }
}

// A run killed at every step, its journal then cut: the next run either
// recovers a whole set or refuses and touches nothing; it never reports a
// journal that was not whole as rolled back.
void KillCutAndRerun(bool links, int n, long cut, bool everyCut) {
  Rig s(3, true, 4096);
  if (!links) s.fs.NoLinks();
  s.fs.KillAt(n);
  EXPECT_THROW(s.Run(), Killed) << n;
  s.fs.Reboot();
  s.fs.KillAt(0);
  // With links no target name is ever missing, not even for a moment.
  for (int i = 1; links && i <= 3; ++i) EXPECT_TRUE(s.fs.Has(test::Target(i))) << n;
  const std::string text = s.fs.Data(kJournal);
  if (everyCut && text.find("state commit") == std::string::npos) return;
  if (cut < 0) cut = std::max(0L, static_cast<long>(text.size()) + cut);  // from the end
  const bool whole = static_cast<std::size_t>(cut) >= text.size();
  if (!whole) s.fs.AddFile(kJournal, text.substr(0, cut));
  const auto before = s.Tree();
  ScriptedUser next;
  const Recovery r = RecoverInterruptedCopy(s.fs, next, kJournal);
  EXPECT_FALSE(next.Logged("rolled back") && !whole) << n << "/" << cut;
  if (whole) {
    EXPECT_NE(r, Recovery::kFailed) << n;
    EXPECT_NE(s.SetState(3), -1) << n;
  } else {
    EXPECT_EQ(r, Recovery::kRefused) << n << "/" << cut;
    EXPECT_TRUE(next.Logged("error 13: The journal " + kJournal)) << n << "/" << cut;
    EXPECT_EQ(RunCopyJob(s.job, s.fs, next), grcCannotWrite);
    EXPECT_EQ(s.Tree(), before) << n << "/" << cut;
    s.fs.Delete(kJournal);  // as the log tells the person
  }
  EXPECT_EQ(s.Run(), grcOkay) << n << "/" << cut;
  s.ExpectSet(3, true);
}

TEST(CopyRecovery, KilledAnywhereWithItsJournalCut) {
  for (bool links : {true, false}) {
    Rig probe(3, true, 4096);
    if (!links) probe.fs.NoLinks();
    ASSERT_EQ(probe.Run(), grcOkay);
    for (int n = 1; n <= probe.fs.Changes(); ++n) {
      // Inside the header, the body, the sum line, the final line; whole.
      for (long cut : {0L, 40L, -200L, -17L, -13L, -5L, -4L, -1L, 1L << 20}) {
        KillCutAndRerun(links, n, cut, false);
      }
    }
  }
}

int FirstStepWithTheCommitJournal();

TEST(CopyRecovery, CommitJournalCutAtEveryLength) {
  const int n = FirstStepWithTheCommitJournal();
  Rig s(3, true, 4096);
  s.fs.KillAt(n);
  EXPECT_THROW(s.Run(), Killed);
  const long size = static_cast<long>(s.fs.Data(kJournal).size());
  ASSERT_GT(size, 500);
  for (long cut = 0; cut <= size; ++cut) KillCutAndRerun(true, n, cut, true);
}

// The first step of a run killed with its commit journal in place.
int FirstStepWithTheCommitJournal() {
  for (int n = 1;; ++n) {
    Rig s(3, true, 4096);
    s.fs.KillAt(n);
    EXPECT_THROW(s.Run(), Killed);
    if (s.fs.Data(kJournal).find("state commit") != std::string::npos) return n;
  }
}

// A commit journal whose files cannot all be put in place is undone; the
// journal says so before the undo starts, so that an undo that stops part way
// is undone again by the next run, never completed.
TEST(CopyRecovery, AResumeThatFailsIsUndoneAndStaysUndone) {
  Rig s(3, true, 4096);
  s.fs.KillAt(FirstStepWithTheCommitJournal());
  EXPECT_THROW(s.Run(), Killed);
  s.fs.Reboot();
  s.fs.KillAt(0);
  s.fs.FailCall("Move", "0.NEW", 1, kErrorInvalidData);  // the resume
  s.fs.FailCall("Move", "0.OLD", 1, kErrorInvalidData);  // and its undo
  ScriptedUser first;
  EXPECT_EQ(RecoverInterruptedCopy(s.fs, first, kJournal), Recovery::kFailed);
  EXPECT_NE(s.fs.Data(kJournal).find("state undo"), std::string::npos);
  ScriptedUser next;
  EXPECT_EQ(RecoverInterruptedCopy(s.fs, next, kJournal), Recovery::kRolledBack);
  s.ExpectSet(3, false);
}

// What earlier copies left beside the targets goes, a journal's scratch file
// too; a staging name that is a link is removed as a name, never followed.
TEST(CopyRecovery, LeftoversGoButNotThroughALink) {
  Rig s(1, true, 4096);
  const std::string drivers = std::string(test::kDrivers) + "\\";
  s.fs.AddFile(drivers + kJournalScratchName, "half a journal");
  s.fs.AddDir(drivers + "~stf0000abcd.tmp");
  s.fs.AddFile(drivers + "~stf0000abcd.tmp\\0.new", "staged");
  s.fs.AddJunction(drivers + "~stf0000beef.tmp");
  s.fs.AddFile(drivers + "~stf0000beef.tmp\\config.sys", "another folder's");
  SweepLeftovers(s.fs, s.user, drivers);
  EXPECT_FALSE(s.fs.Has(drivers + kJournalScratchName));
  EXPECT_FALSE(s.fs.Has(drivers + "~stf0000abcd.tmp"));
  EXPECT_FALSE(s.fs.Has(drivers + "~stf0000beef.tmp"));
  EXPECT_TRUE(s.fs.Has(drivers + "~stf0000beef.tmp\\config.sys"));
}

}  // namespace
}  // namespace stf
