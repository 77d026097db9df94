#include "platform/setup-toolkit/install/flush_worker.h"

FlushWorker::FlushWorker(bool threaded)
    : work_(threaded ? CreateEventA(nullptr, FALSE, FALSE, nullptr) : nullptr),
      done_(threaded ? CreateEventA(nullptr, FALSE, FALSE, nullptr) : nullptr) {
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

stf::SysError FlushWorker::Finish(const Item& item) {
  stf::SysError error = FlushFileBuffers(item.file) ? 0 : GetLastError();
  if (!CloseHandle(item.file) && error == 0) error = GetLastError();
  const Link& link = item.link;
  if (error == 0 && link.create != nullptr) {
    PVOID old = nullptr;
    const bool off = link.disable && link.revert && link.disable(&old);
    link.create(link.name.c_str(), link.target.c_str(), nullptr);
    if (off) link.revert(old);
  }
  return error;
}

stf::SysError FlushWorker::Add(HANDLE file, const std::string& path, const Link& link) {
  if (thread_ == nullptr && work_ && done_) {
    DWORD id = 0;
    thread_ = CreateThread(nullptr, 0, Main, this, 0, &id);
  }
  const Item item{file, path, link};
  if (thread_ == nullptr) return Finish(item);
  EnterCriticalSection(&lock_);
  while (queue_.size() + busy_ >= kPending) {
    LeaveCriticalSection(&lock_);
    WaitForSingleObject(done_, INFINITE);
    EnterCriticalSection(&lock_);
  }
  queue_.push_back(item);
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
    const Item item = queue_.front();
    queue_.pop_front();
    ++busy_;
    LeaveCriticalSection(&lock_);
    const stf::SysError error = Finish(item);
    EnterCriticalSection(&lock_);
    if (error != 0) failures_.push_back({item.path, error});
    --busy_;
    LeaveCriticalSection(&lock_);
    SetEvent(done_);
  }
}
