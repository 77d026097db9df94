// Flushes and closes the copy's staged files on a thread of its own, so that
// the disk writes one file while the next is copied. At most kPending files
// wait; Settle waits for all of them.
#pragma once

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "copy_host.h"
#include "platform/win32.h"

class FlushWorker {
 public:
  FlushWorker();
  ~FlushWorker();
  FlushWorker(const FlushWorker&) = delete;
  FlushWorker& operator=(const FlushWorker&) = delete;

  // Hands the file over. Without a thread the file is flushed and closed at
  // once, and that result is returned.
  stf::SysError Add(HANDLE file, const std::string& path);
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
  std::deque<std::pair<HANDLE, std::string>> queue_;
  std::size_t busy_ = 0;  // taken from the queue, not finished
  std::vector<std::pair<std::string, stf::SysError>> failures_;
  bool stop_ = false;
};
