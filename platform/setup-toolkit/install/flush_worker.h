// Flushes and closes the copy's staged files on a thread of its own, so that
// the disk writes one file while the next is copied, and makes the second
// name of the file each replaces. At most kPending files wait; Settle waits
// for all of them. A copy of one file has nothing to overlap its flush with:
// made without a thread, the worker does each in line.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "copy_host.h"
#include "platform/win32.h"

class FlushWorker {
 public:
  explicit FlushWorker(bool threaded);
  ~FlushWorker();
  FlushWorker(const FlushWorker&) = delete;
  FlushWorker& operator=(const FlushWorker&) = delete;

  // A hard link to make after the flush (with file-system redirection off
  // when the system has it); its failure is not reported.
  struct Link {
    std::string target, name;
    BOOL(WINAPI* create)(LPCSTR, LPCSTR, LPSECURITY_ATTRIBUTES) = nullptr;
    BOOL(WINAPI* disable)(PVOID*) = nullptr;
    BOOL(WINAPI* revert)(PVOID) = nullptr;
  };

  // Hands the file over. Without a thread (not wanted, or none could be
  // made) the work is done at once, and the flush's result is returned.
  stf::SysError Add(HANDLE file, const std::string& path, const Link& link);
  // The first failure since the last call, with its path; 0 when none.
  stf::SysError Settle(std::string* path);

 private:
  static constexpr std::size_t kPending = 32;
  static DWORD WINAPI Main(LPVOID self);
  void Loop();

  CRITICAL_SECTION lock_;
  HANDLE work_;  // auto-reset: a file was queued, or the thread is to stop
  HANDLE done_;  // auto-reset: the thread finished a file
  HANDLE thread_ = nullptr;
  struct Item {
    HANDLE file;
    std::string path;
    Link link;
  };
  static stf::SysError Finish(const Item& item);
  std::deque<Item> queue_;
  std::size_t busy_ = 0;  // taken from the queue, not finished
  std::vector<std::pair<std::string, stf::SysError>> failures_;
  bool stop_ = false;
};
