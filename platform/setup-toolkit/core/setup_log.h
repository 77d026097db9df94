// The setup log: a plain text file, one record a line, each line stamped
// "YYYY-MM-DD HH:MM:SS " in local time and flushed at once, so that what was
// written survives the process ending abruptly (a forced restart). The last
// line states the outcome for scripts to find:
//   Outcome: SUCCESS | Outcome: FAILED (why) | Outcome: CANCELLED | Outcome: RESTARTING
// Once the outcome is written, every later write is refused. Line breaks in
// the text are written as blanks, so one record is always one line.
// Not thread-safe: setup runs on one thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace stf {

enum class SetupOutcome { kSuccess, kFailed, kCancelled, kRestarting };

// Where the lines go: a file that the system side opened and checked
// (log_file_rules.h), so that the log never opens a name by itself.
class LogSink {
 public:
  virtual ~LogSink() = default;
  // Writes the bytes at the end of the file, all or nothing reported.
  virtual bool Append(const std::string& bytes) = 0;
};

class SetupLog {
 public:
  SetupLog() = default;
  ~SetupLog();
  SetupLog(const SetupLog&) = delete;
  SetupLog& operator=(const SetupLog&) = delete;

  // Writes to sink from now on; closes any log open before.
  void Attach(std::unique_ptr<LogSink> sink);
  // Closes the log and forgets its outcome; harmless when nothing is open.
  void Close();
  bool IsOpen() const { return sink_ != nullptr; }
  bool HasOutcome() const { return outcomeWritten_; }

  // Each returns false when nothing was written: no log open, the outcome
  // already written, or the write failed.
  bool Write(const std::string& text);
  bool WriteCommandLine(const std::string& tail);  // Command line: /quiet /log x
  bool WriteDialog(const std::string& dialog, const std::string& answer);  // Dialog: D -> A
  bool WriteFileCopied(const std::string& source, const std::string& destination,
                       std::uint64_t bytes);  // Copied: S -> D (N bytes)
  // Error: text (error 5: Access is denied.)
  bool WriteError(const std::string& text, unsigned long code, const std::string& codeText);
  // Outcome: FAILED (detail); the detail is left out when empty.
  bool WriteOutcome(SetupOutcome outcome, const std::string& detail = std::string());
  // Outcome: text, for an outcome already in its canonical form (run_outcome.h).
  bool WriteOutcomeText(const std::string& outcome);

 private:
  std::unique_ptr<LogSink> sink_;
  bool outcomeWritten_ = false;
};

// One record, one line: breaks become blanks and trailing blanks go (system
// message texts end in CRLF).
std::string OneLine(const std::string& text);
// "Error: text (error 5: Access is denied.)", or "(error 2)" without a code text.
std::string ErrorRecord(const std::string& text, unsigned long code, const std::string& codeText);

// The one log of the process, used by every part of setup.
SetupLog& ProcessSetupLog();

}  // namespace stf
