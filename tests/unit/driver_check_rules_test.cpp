// The check's decisions: one row per situation the check meets after a
// restart or on demand.
#include <gtest/gtest.h>

#include "support/driver_check_rules.h"

namespace {

CheckFacts Installed(bool running) {
  CheckFacts f;
  f.service.exists = true;
  f.service.running = running;
  f.service.exitCode = running ? 0 : 31;
  f.service.type = DriverService.type;
  f.service.start = DriverService.start;
  f.service.errorControl = DriverService.errorControl;
  f.service.imageNamesDriver = true;
  f.service.group = "scsi MINIPORT";  // Windows compares groups without case
  f.fileMatches = true;
  f.lastState = "check pending";
  f.recorded = true;
  f.mayChange = true;
  return f;
}

CheckFacts WithPrevious(CheckFacts f, bool intact, bool wasRunning) {
  f.previous.kept = true;
  f.previous.intact = intact;
  f.previous.wasRunning = wasRunning;
  f.previous.version = "1.0.0.0";
  return f;
}

struct Row {
  const char* what;
  CheckFacts facts;
  CheckVerdict verdict;
  const char* state;
  int exitCode;
  bool restore, removeKept, writeEntry;
};

TEST(DriverCheckRules, Decisions) {
  CheckFacts missing;
  missing.recorded = true;
  missing.mayChange = true;
  CheckFacts pending = WithPrevious(Installed(true), true, true);
  pending.bootCheckPending = true;
  CheckFacts onDemand = WithPrevious(Installed(false), true, true);
  onDemand.mayChange = false;
  CheckFacts restoredBefore = Installed(false);
  restoredBefore.lastState = "previous version 1.0.0.0 restored";
  CheckFacts changedFile = Installed(true);
  changedFile.fileMatches = false;
  changedFile.fileProblem = "not the file";
  CheckFacts restoredRunning = restoredBefore;
  restoredRunning.service.running = true;

  const Row rows[] = {
      {"runs, nothing kept", Installed(true), CheckVerdict::kRunning, "running", 0, false, false, true},
      {"runs: the kept driver goes", WithPrevious(Installed(true), true, true),
       CheckVerdict::kRunning, "running", 0, false, true, true},
      {"runs with a changed file: still running", changedFile, CheckVerdict::kRunning, "running", 0,
       false, false, true},
      {"failed, previous ran: restored", WithPrevious(Installed(false), true, true),
       CheckVerdict::kRestore, "previous version 1.0.0.0 restored", 3010, true, false, true},
      {"failed, previous did not run either", WithPrevious(Installed(false), true, false),
       CheckVerdict::kNotStarted, "not started (code 31)", 1603, false, false, true},
      {"failed, kept driver changed since", WithPrevious(Installed(false), false, true),
       CheckVerdict::kNotStarted, "not started (code 31)", 1603, false, false, true},
      {"failed, nothing kept", Installed(false), CheckVerdict::kNotStarted, "not started (code 31)",
       1603, false, false, true},
      {"/verify alone records, restores nothing", onDemand, CheckVerdict::kNotStarted,
       "not started (code 31)", 1603, false, false, true},
      {"no service at all", missing, CheckVerdict::kNotStarted, "not started (code 1060)", 1603,
       false, false, true},
      {"before the restart", pending, CheckVerdict::kPending, "check pending", 3010, false, false,
       false},
      {"restored, restart awaited", restoredBefore, CheckVerdict::kRestoredWaiting,
       "previous version 1.0.0.0 restored", 3010, false, false, false},
      {"restored and loaded", restoredRunning, CheckVerdict::kRunning, "running", 0, false, false,
       true},
  };
  for (const Row& row : rows) {
    const CheckDecision d = DecideDriverCheck(row.facts, DriverService);
    EXPECT_EQ(d.verdict, row.verdict) << row.what;
    EXPECT_EQ(d.state, row.state) << row.what;
    EXPECT_EQ(d.exitCode, row.exitCode) << row.what;
    EXPECT_EQ(d.restore, row.restore) << row.what;
    EXPECT_EQ(d.removeKept, row.removeKept) << row.what;
    EXPECT_EQ(d.writeEntry, row.writeEntry) << row.what;
  }
}

TEST(DriverCheckRules, FindingsNameWhatDiffers) {
  CheckFacts f = Installed(true);
  EXPECT_TRUE(DecideDriverCheck(f, DriverService).findings.empty());
  f.service.start = 3;
  f.service.imageNamesDriver = false;
  f.service.imagePath = "\\??\\C:\\other.sys";
  f.service.group = "Base";
  f.fileMatches = false;
  f.fileProblem = "C:\\x is not the file the install placed.";
  const std::vector<std::string> found = DecideDriverCheck(f, DriverService).findings;
  ASSERT_EQ(found.size(), 4u);
  EXPECT_EQ(found[0], "The service's start type is 3, not 1.");
  EXPECT_NE(found[1].find("\\??\\C:\\other.sys"), std::string::npos);
  EXPECT_EQ(found[2], "The service's group is \"Base\", not \"SCSI miniport\".");
  EXPECT_EQ(found[3], f.fileProblem);
  // The way back is named when /verify alone may not take it.
  CheckFacts kept = WithPrevious(Installed(false), true, true);
  kept.mayChange = false;
  const std::vector<std::string> advice = DecideDriverCheck(kept, DriverService).findings;
  ASSERT_EQ(advice.size(), 1u);
  EXPECT_NE(advice[0].find("/verify /restore"), std::string::npos);
}

}  // namespace
