#include "setup_log.h"

#include <ctime>

namespace stf {

std::string OneLine(const std::string& text) {
  std::string line(text);
  for (char& c : line) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.pop_back();
  return line;
}

namespace {

std::string Timestamp() {
  const std::time_t now = std::time(nullptr);
  const std::tm* local = std::localtime(&now);
  char stamp[32] = "0000-00-00 00:00:00";
  if (local != nullptr) std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", local);
  return stamp;
}

const char* OutcomeWord(SetupOutcome outcome) {
  switch (outcome) {
    case SetupOutcome::kSuccess:
      return "SUCCESS";
    case SetupOutcome::kFailed:
      return "FAILED";
    case SetupOutcome::kCancelled:
      return "CANCELLED";
    case SetupOutcome::kRestarting:
      return "RESTARTING";
  }
  return "UNKNOWN";
}

}  // namespace

SetupLog::~SetupLog() { Close(); }

void SetupLog::Attach(std::unique_ptr<LogSink> sink) {
  Close();
  sink_ = std::move(sink);
}

void SetupLog::Close() {
  sink_.reset();
  outcomeWritten_ = false;
}

bool SetupLog::Write(const std::string& text) {
  if (sink_ == nullptr || outcomeWritten_) return false;
  return sink_->Append(Timestamp() + " " + OneLine(text) + "\r\n");
}

bool SetupLog::WriteCommandLine(const std::string& tail) { return Write("Command line: " + tail); }

bool SetupLog::WriteDialog(const std::string& dialog, const std::string& answer) {
  return Write("Dialog: " + dialog + " -> " + answer);
}

bool SetupLog::WriteFileCopied(const std::string& source, const std::string& destination,
                               std::uint64_t bytes) {
  return Write("Copied: " + source + " -> " + destination + " (" + std::to_string(bytes) +
               " bytes)");
}

bool SetupLog::WriteError(const std::string& text, unsigned long code,
                          const std::string& codeText) {
  return Write(ErrorRecord(text, code, codeText));
}

bool SetupLog::WriteOutcome(SetupOutcome outcome, const std::string& detail) {
  std::string line = OutcomeWord(outcome);
  const std::string why = OneLine(detail);
  if (!why.empty()) line += " (" + why + ")";
  return WriteOutcomeText(line);
}

bool SetupLog::WriteOutcomeText(const std::string& outcome) {
  if (!Write("Outcome: " + outcome)) return false;
  outcomeWritten_ = true;
  return true;
}

std::string ErrorRecord(const std::string& text, unsigned long code,
                        const std::string& codeText) {
  std::string line = "Error: " + OneLine(text) + " (error " + std::to_string(code);
  const std::string reason = OneLine(codeText);
  if (!reason.empty()) line += ": " + reason;
  return line + ")";
}

SetupLog& ProcessSetupLog() {
  static SetupLog log;
  return log;
}

}  // namespace stf
