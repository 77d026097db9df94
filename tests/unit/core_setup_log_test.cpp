#include <gtest/gtest.h>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "setup_log.h"

namespace stf {
namespace {

// The file as the system side would hold it: what was appended, in order;
// a full disk refuses every write.
class MemorySink : public LogSink {
 public:
  MemorySink(std::shared_ptr<std::string> bytes, bool full) : bytes_(bytes), full_(full) {}
  bool Append(const std::string& bytes) override {
    if (full_) return false;
    *bytes_ += bytes;
    return true;
  }

 private:
  std::shared_ptr<std::string> bytes_;
  bool full_;
};

class SetupLogTest : public ::testing::Test {
 protected:
  void TearDown() override { log_.Close(); }
  void Attach(bool full = false) {
    bytes_ = std::make_shared<std::string>();
    log_.Attach(std::unique_ptr<LogSink>(new MemorySink(bytes_, full)));
  }
  // The lines written so far, each ended by CR LF as Windows' tools expect.
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes_->find("\r\n", start)) != std::string::npos; start = end + 2) {
      lines.push_back(bytes_->substr(start, end - start));
    }
    EXPECT_EQ(start, bytes_->size()) << "a line without its CR LF";
    return lines;
  }
  // A line without its timestamp, after checking the timestamp's form.
  static std::string Text(const std::string& line) {
    static const std::regex stamp("^\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2} ");
    EXPECT_TRUE(std::regex_search(line, stamp)) << line;
    return line.size() > 20 ? line.substr(20) : std::string();
  }

  std::shared_ptr<std::string> bytes_ = std::make_shared<std::string>();
  SetupLog log_;
};

TEST_F(SetupLogTest, RecordsAreFlushedAndOutcomeIsLast) {
  Attach();
  EXPECT_TRUE(log_.WriteCommandLine("/quiet /log x"));
  EXPECT_TRUE(log_.WriteDialog("Welcome", "Continue"));
  EXPECT_TRUE(log_.WriteFileCopied("E:\\mlxidecd.SY_", "C:\\d\\mlxidecd.sys", 21504));
  EXPECT_TRUE(log_.WriteError("cannot copy x\r\nsecond line", 5, "Access is denied.\r\n"));
  EXPECT_TRUE(log_.WriteError("no code text", 2, ""));
  ASSERT_EQ(Lines().size(), 5u);  // handed on before the log is closed

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
    Attach();  // a new file: the outcome is forgotten
    EXPECT_FALSE(log_.HasOutcome());
    EXPECT_TRUE(log_.WriteOutcome(c.outcome, c.detail));
    const std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(Text(lines[0]), c.line);
  }
}

TEST_F(SetupLogTest, ReattachedLogTakesRecordsAfterAnOutcome) {
  Attach();
  log_.WriteOutcome(SetupOutcome::kRestarting);
  const std::shared_ptr<std::string> first = bytes_;
  Attach();  // the same file opened again, as after a refused restart
  EXPECT_TRUE(log_.Write("after restart"));
  EXPECT_EQ(Lines().size(), 1u);
  EXPECT_EQ(first->find("after restart"), std::string::npos);
}

TEST_F(SetupLogTest, ClosedOrFailingLogRefusesWrites) {
  EXPECT_FALSE(log_.Write("nothing open"));
  Attach(/*full=*/true);
  EXPECT_TRUE(log_.IsOpen());
  EXPECT_FALSE(log_.Write("disk full"));

  Attach();
  log_.WriteOutcome(SetupOutcome::kSuccess);
  log_.Close();
  EXPECT_FALSE(log_.IsOpen());
  EXPECT_FALSE(log_.HasOutcome());
  EXPECT_FALSE(log_.Write("closed"));
  EXPECT_EQ(&ProcessSetupLog(), &ProcessSetupLog());
}

}  // namespace
}  // namespace stf
