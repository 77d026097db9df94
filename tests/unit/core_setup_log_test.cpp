#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "setup_log.h"

namespace stf {
namespace {

class SetupLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/core_log_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    path_ = dir_ + "/setup.log";
  }
  void TearDown() override {
    log_.Close();
    std::remove(path_.c_str());
    rmdir(dir_.c_str());
  }
  // The lines written so far, read while the log is still open: each one
  // must already be on disk.
  std::vector<std::string> Lines() const {
    std::ifstream in(path_);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  // A line without its timestamp, after checking the timestamp's form.
  static std::string Text(const std::string& line) {
    static const std::regex stamp("^\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2} ");
    EXPECT_TRUE(std::regex_search(line, stamp)) << line;
    return line.size() > 20 ? line.substr(20) : std::string();
  }

  std::string dir_;
  std::string path_;
  SetupLog log_;
};

TEST_F(SetupLogTest, RecordsAreFlushedAndOutcomeIsLast) {
  std::string error;
  ASSERT_TRUE(log_.Open(path_, false, &error)) << error;
  EXPECT_TRUE(log_.WriteCommandLine("/quiet /log x"));
  EXPECT_TRUE(log_.WriteDialog("Welcome", "Continue"));
  EXPECT_TRUE(log_.WriteFileCopied("E:\\mlxidecd.SY_", "C:\\d\\mlxidecd.sys", 21504));
  EXPECT_TRUE(log_.WriteError("cannot copy x\r\nsecond line", 5, "Access is denied.\r\n"));
  EXPECT_TRUE(log_.WriteError("no code text", 2, ""));
  ASSERT_EQ(Lines().size(), 5u);  // on disk before the log is closed

  EXPECT_TRUE(log_.WriteOutcome(SetupOutcome::kFailed, "copy\nfailed"));
  EXPECT_TRUE(log_.HasOutcome());
  EXPECT_FALSE(log_.Write("after the outcome"));
  EXPECT_FALSE(log_.WriteOutcome(SetupOutcome::kSuccess));
  EXPECT_FALSE(log_.WriteDialog("late", "x"));

  const std::vector<std::string> lines = Lines();
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(Text(lines[0]), "Command line: /quiet /log x");
  EXPECT_EQ(Text(lines[1]), "Dialog: Welcome -> Continue");
  EXPECT_EQ(Text(lines[2]), "Copied: E:\\mlxidecd.SY_ -> C:\\d\\mlxidecd.sys (21504 bytes)");
  EXPECT_EQ(Text(lines[3]), "Error: cannot copy x  second line (error 5: Access is denied.)");
  EXPECT_EQ(Text(lines[4]), "Error: no code text (error 2)");
  EXPECT_EQ(Text(lines[5]), "Outcome: FAILED (copy failed)");
}

TEST_F(SetupLogTest, OutcomeWords) {
  struct Case {
    SetupOutcome outcome;
    const char* detail;
    const char* line;
  } cases[] = {
      {SetupOutcome::kSuccess, "", "Outcome: SUCCESS"},
      {SetupOutcome::kFailed, "", "Outcome: FAILED"},
      {SetupOutcome::kCancelled, "", "Outcome: CANCELLED"},
      {SetupOutcome::kRestarting, "", "Outcome: RESTARTING"},
      {SetupOutcome::kRestarting, "driver replaced at boot",
       "Outcome: RESTARTING (driver replaced at boot)"},
  };
  for (const Case& c : cases) {
    std::string error;
    ASSERT_TRUE(log_.Open(path_, false, &error)) << error;  // truncates; outcome forgotten
    EXPECT_FALSE(log_.HasOutcome());
    EXPECT_TRUE(log_.WriteOutcome(c.outcome, c.detail));
    const std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(Text(lines[0]), c.line);
  }
}

TEST_F(SetupLogTest, AppendKeepsEarlierLines) {
  std::string error;
  ASSERT_TRUE(log_.Open(path_, false, &error)) << error;
  log_.WriteOutcome(SetupOutcome::kRestarting);
  ASSERT_TRUE(log_.Open(path_, true, &error)) << error;
  EXPECT_TRUE(log_.Write("after restart"));
  EXPECT_EQ(Lines().size(), 2u);
}

TEST_F(SetupLogTest, ClosedOrUnopenableLogRefusesWrites) {
  EXPECT_FALSE(log_.Write("nothing open"));
  std::string error;
  const std::string bad = dir_ + "/no/such/dir/setup.log";
  EXPECT_FALSE(log_.Open(bad, false, &error));
  EXPECT_NE(error.find("cannot open log file '" + bad + "'"), std::string::npos) << error;
  EXPECT_NE(error.find("No such file"), std::string::npos) << error;
  EXPECT_FALSE(log_.IsOpen());

  ASSERT_TRUE(log_.Open(path_, false, &error));
  log_.WriteOutcome(SetupOutcome::kSuccess);
  log_.Close();
  EXPECT_FALSE(log_.HasOutcome());
  EXPECT_FALSE(log_.Write("closed"));
  EXPECT_EQ(&ProcessSetupLog(), &ProcessSetupLog());
}

}  // namespace
}  // namespace stf
