// An in-memory file system and a scripted person for the copy job's tests.
// Names compare without ASCII case, as Windows compares them; any call can
// be made to fail, a volume can fill up part way through a write, and a
// "kill" ends the run at the n-th call that changes something.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "copy_host.h"

namespace stf {
namespace test {

// Thrown by the file system at the call chosen to end the run.
struct Killed {};

class MemoryFs : public FileSystem {
 public:
  MemoryFs();

  // Setting up and looking at the tree; paths use backslashes.
  void AddDir(const std::string& path);
  // A link or junction: a folder whose entries are another folder's; removing
  // it removes the name only.
  void AddJunction(const std::string& path);
  void AddFile(const std::string& path, const std::string& data);
  bool Has(const std::string& path) const;
  std::string Data(const std::string& path) const;  // "" when missing
  // Every path under dir (not dir itself), as stored, sorted.
  std::vector<std::string> List(const std::string& dir) const;
  // A file that can be renamed but not deleted or replaced (a loaded driver).
  void SetBusy(const std::string& path);
  // FILE_ATTRIBUTE_* bits: read-only refuses a delete, and read-only, hidden
  // or system a replace or an overwrite, as Windows does.
  void SetAttr(const std::string& path, std::uint32_t attributes);
  std::uint32_t Attr(const std::string& path) const;

  // Faults. Call names are the interface's ("Write", "Move", ...); the n-th
  // call (from 1) whose path contains part fails with error.
  void FailCall(const std::string& call, const std::string& part, int nth, SysError error);
  void SetCapacity(std::uint64_t bytes) { capacity_ = bytes; }
  void ReportFreeSpace(std::uint64_t bytes) { reportedFree_ = bytes; }
  void NoLinks() { links_ = false; }
  // The n-th call (from 1) that changes the tree throws Killed; 0: never.
  void KillAt(int n) { killAt_ = n; }
  int Changes() const { return changes_; }
  // After a kill: handles are gone, as after the process died.
  void Reboot() { open_.clear(); }
  // Windows restarts: what was queued is deleted (a read-only file, or a
  // directory that is not empty, silently stays), nothing is busy any more.
  void Restart();
  const std::vector<std::string>& DeletedAtReboot() const { return atReboot_; }
  std::uint64_t Used() const;

  SysError Stat(const std::string& path, FileStat* out) override;
  SysError StoredName(const std::string& path, std::string* name) override;
  SysError MakeDir(const std::string& path) override;
  SysError RemoveDir(const std::string& path) override;
  SysError ListDir(const std::string& dir, std::vector<std::string>* names) override;
  SysError SetAttributes(const std::string& path, std::uint32_t attributes) override;
  SysError OpenRead(const std::string& path, FileHandle* out) override;
  SysError CreateWrite(const std::string& path, FileHandle* out) override;
  SysError Read(FileHandle file, std::uint64_t offset, void* buffer, std::size_t size,
                std::size_t* got) override;
  SysError Write(FileHandle file, const void* data, std::size_t size) override;
  SysError Flush(FileHandle file) override;
  SysError Close(FileHandle file) override;
  SysError FinishStaged(FileHandle file, const std::string& path, const std::string& linkTarget,
                        const std::string& linkName) override;
  SysError Settle(std::string* failedPath) override;
  // A failed flush is reported by Settle, as a flush on another thread is.
  void DeferFlushes() { deferFlushes_ = true; }
  void CopyFileTime(FileHandle, FileHandle) override {}
  SysError Link(const std::string& existing, const std::string& link) override;
  SysError Move(const std::string& from, const std::string& to, bool replace) override;
  SysError Delete(const std::string& path) override;
  SysError DeleteAtReboot(const std::string& path) override;
  SysError FreeSpace(const std::string& dir, std::uint64_t* bytes) override;

 private:
  struct Node {
    std::string path;  // as stored
    bool dir = false;
    bool junction = false;
    bool busy = false;
    std::shared_ptr<std::string> data;  // shared by hard links
    std::shared_ptr<std::uint32_t> attributes;  // so are these
  };
  struct Fault {
    std::string call, part;
    int left;
    SysError error;
  };
  SysError Injected(const std::string& call, const std::string& path);
  SysError Change(const std::string& call, const std::string& path);
  static std::string Key(const std::string& path);
  static std::string Parent(const std::string& path);
  Node* Find(const std::string& path);

  std::map<std::string, Node> nodes_;
  std::map<std::intptr_t, std::pair<std::string, bool>> open_;  // handle -> path, for writing
  std::intptr_t nextHandle_ = 1;
  std::vector<struct Fault> faults_;
  std::vector<std::string> atReboot_;
  std::uint64_t capacity_ = UINT64_MAX;
  std::uint64_t reportedFree_ = UINT64_MAX;
  bool links_ = true;
  bool deferFlushes_ = false;
  std::vector<std::pair<std::string, SysError>> deferred_;
  int killAt_ = 0;
  int changes_ = 0;
};

// The person and the log: answers come from queues (empty: the default).
class ScriptedUser : public CopyUser {
 public:
  std::deque<bool> retryAnswers;  // empty: Cancel
  std::deque<bool> keepAnswers;   // empty: keep
  std::vector<std::string> log;   // "error 112: ...", "copied: S -> D", "note: ..."
  std::vector<std::string> shown;  // "show 1", "remove", in order
  int questions = 0;
  std::vector<std::string> problems;  // as each retry question put them
  std::uint64_t lastDone = 0, lastTotal = 0;
  bool progressWentBack = false;
  std::vector<bool> billboardWorks;  // per index; missing: it works

  void Progress(std::uint64_t done, std::uint64_t total) override;
  bool ShowBillboard(std::size_t index) override;
  void RemoveBillboard() override { shown.push_back("remove"); }
  bool AskRetry(const std::string& problem, SysError error) override;
  bool AskKeepNewer(const std::string& target, const FileVersion& installed,
                    const FileVersion& source) override;
  bool AskKeepVersioned(const std::string& target, const FileVersion& installed) override;
  void LogError(const std::string& text, SysError error) override;
  void LogCopied(const std::string& source, const std::string& target,
                 std::uint64_t bytes) override;
  void LogNote(const std::string& text) override { log.push_back("note: " + text); }
  bool Logged(const std::string& part) const;
};

// A minimal PE image whose version resource says version.
std::string ImageWithVersion(const FileVersion& version);

}  // namespace test
}  // namespace stf
