#include "platform/setup-toolkit/install/flush_worker.h"

namespace {

stf::SysError FlushAndClose(HANDLE file) {
  stf::SysError error = FlushFileBuffers(file) ? 0 : GetLastError();
  if (!CloseHandle(file) && error == 0) error = GetLastError();
  return error;
}

}  // namespace

FlushWorker::FlushWorker()
    : work_(CreateEventA(nullptr, FALSE, FALSE, nullptr)),
      done_(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {
  InitializeCriticalSection(&lock_);
}

FlushWorker::~FlushWorker() {
  std::string ignored;
  while (Settle(&ignored) != 0) {
  }
  if (thread_ != nullptr) {
    EnterCriticalSection(&lock_);
    stop_ = true;
    LeaveCriticalSection(&lock_);
    SetEvent(work_);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
  }
  if (work_) CloseHandle(work_);
  if (done_) CloseHandle(done_);
  DeleteCriticalSection(&lock_);
}

stf::SysError FlushWorker::Add(HANDLE file, const std::string& path) {
  if (thread_ == nullptr && work_ && done_) {
    DWORD id = 0;
    thread_ = CreateThread(nullptr, 0, Main, this, 0, &id);
  }
  if (thread_ == nullptr) return FlushAndClose(file);
  EnterCriticalSection(&lock_);
  while (queue_.size() + busy_ >= kPending) {
    LeaveCriticalSection(&lock_);
    WaitForSingleObject(done_, INFINITE);
    EnterCriticalSection(&lock_);
  }
  queue_.push_back({file, path});
  LeaveCriticalSection(&lock_);
  SetEvent(work_);
  return 0;
}

stf::SysError FlushWorker::Settle(std::string* path) {
  EnterCriticalSection(&lock_);
  while (!queue_.empty() || busy_ != 0) {
    LeaveCriticalSection(&lock_);
    WaitForSingleObject(done_, INFINITE);
    EnterCriticalSection(&lock_);
  }
  stf::SysError error = 0;
  if (!failures_.empty()) {
    *path = failures_.front().first;
    error = failures_.front().second;
    failures_.erase(failures_.begin());
  }
  LeaveCriticalSection(&lock_);
  return error;
}

DWORD WINAPI FlushWorker::Main(LPVOID self) {
  static_cast<FlushWorker*>(self)->Loop();
  return 0;
}

void FlushWorker::Loop() {
  for (;;) {
    EnterCriticalSection(&lock_);
    if (queue_.empty()) {
      const bool stop = stop_;
      LeaveCriticalSection(&lock_);
      if (stop) return;
      WaitForSingleObject(work_, INFINITE);
      continue;
    }
    const std::pair<HANDLE, std::string> item = queue_.front();
    queue_.pop_front();
    ++busy_;
    LeaveCriticalSection(&lock_);
    const stf::SysError error = FlushAndClose(item.first);
    EnterCriticalSection(&lock_);
    if (error != 0) failures_.push_back({item.second, error});
    --busy_;
    LeaveCriticalSection(&lock_);
    SetEvent(done_);
  }
}
