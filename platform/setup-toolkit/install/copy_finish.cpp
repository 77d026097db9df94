// The end of the last copy: made final when the install ends, or undone
// when it fails. Until then the files it replaced are kept, and a run killed
// meanwhile is completed by the next one (copy_recovery.h).
#include <string>

#include "platform/setup-toolkit/install/install_state.h"
#include "platform/setup-toolkit/install/win32_file_system.h"

namespace {

stf::PendingCopy lastCopy;

// Finishing asks nobody and shows nothing: it only writes the log.
class LogUser : public stf::CopyUser {
 public:
  void Progress(std::uint64_t, std::uint64_t) override {}
  bool ShowBillboard(std::size_t) override { return true; }
  void RemoveBillboard() override {}
  bool AskRetry(const std::string&, stf::SysError) override { return false; }
  bool AskKeepNewer(const std::string&, const stf::FileVersion&,
                    const stf::FileVersion&) override {
    return true;
  }
  bool AskKeepVersioned(const std::string&, const stf::FileVersion&) override { return true; }
  void LogError(const std::string& text, stf::SysError error) override {
    StfLogError(text.c_str(), error);
  }
  void LogCopied(const std::string&, const std::string&, std::uint64_t) override {}
  void LogNote(const std::string& text) override { FWriteToLogFile(text.c_str(), TRUE); }
};

}  // namespace

stf::PendingCopy& LastCopy() { return lastCopy; }

extern "C" {

BOOL STFAPI FCommitCopyList(void) {
  if (lastCopy.journalPath.empty()) return TRUE;
  Win32FileSystem files(false);
  LogUser user;
  return stf::FinishCopy(files, user, &lastCopy) ? TRUE : FALSE;
}

BOOL STFAPI FUndoCopyList(void) {
  if (lastCopy.journalPath.empty()) return TRUE;
  Win32FileSystem files(false);
  LogUser user;
  FWriteToLogFile("Undoing the copy", TRUE);
  const bool undone = stf::UndoCopy(files, user, &lastCopy);
  FWriteToLogFile(undone ? "The copy was undone" : "The copy could not be wholly undone", TRUE);
  return undone ? TRUE : FALSE;
}

INT STFAPI UsCopyListChanges(void) { return static_cast<INT>(lastCopy.changes); }

}  // extern "C"
