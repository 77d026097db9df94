// The copy job's file calls over the Win32 file API. On 64-bit Windows a
// 32-bit process's SYSTEM32 is redirected while the service's image path
// names the real one: redirection is off inside each call that names a path,
// and on again in between, so that a library the system loads meanwhile
// (painting the gauge, a message box) comes from the right place.
#pragma once

#include "copy_host.h"
#include "platform/setup-toolkit/install/flush_worker.h"
#include "platform/win32.h"

class Win32FileSystem : public stf::FileSystem {
 public:
  // threadedFlush: the staged files are flushed on a thread of their own
  // (a copy of more than one file), else each in line.
  explicit Win32FileSystem(bool threadedFlush);

  stf::SysError Stat(const std::string& path, stf::FileStat* out) override;
  stf::SysError StoredName(const std::string& path, std::string* name) override;
  stf::SysError MakeDir(const std::string& path) override;
  stf::SysError RemoveDir(const std::string& path) override;
  stf::SysError ListDir(const std::string& dir, std::vector<std::string>* names) override;
  stf::SysError SetAttributes(const std::string& path, std::uint32_t attributes) override;
  stf::SysError OpenRead(const std::string& path, stf::FileHandle* out) override;
  stf::SysError CreateWrite(const std::string& path, stf::FileHandle* out) override;
  stf::SysError Read(stf::FileHandle file, std::uint64_t offset, void* buffer, std::size_t size,
                     std::size_t* got) override;
  stf::SysError Write(stf::FileHandle file, const void* data, std::size_t size) override;
  stf::SysError Flush(stf::FileHandle file) override;
  stf::SysError Close(stf::FileHandle file) override;
  stf::SysError FinishStaged(stf::FileHandle file, const std::string& path,
                             const std::string& linkTarget, const std::string& linkName) override;
  stf::SysError Settle(std::string* failedPath) override;
  void CopyFileTime(stf::FileHandle from, stf::FileHandle to) override;
  stf::SysError Link(const std::string& existing, const std::string& link) override;
  stf::SysError Move(const std::string& from, const std::string& to, bool replace) override;
  stf::SysError Delete(const std::string& path) override;
  stf::SysError DeleteAtReboot(const std::string& path) override;
  stf::SysError FreeSpace(const std::string& dir, std::uint64_t* bytes) override;

 private:
  template <typename Call>
  stf::SysError Unredirected(Call call);

  typedef BOOL(WINAPI* DisableRedirection)(PVOID*);
  typedef BOOL(WINAPI* RevertRedirection)(PVOID);
  typedef BOOL(WINAPI* CreateHardLink)(LPCSTR, LPCSTR, LPSECURITY_ATTRIBUTES);
  DisableRedirection disable_ = nullptr;
  RevertRedirection revert_ = nullptr;
  CreateHardLink link_ = nullptr;
  FlushWorker flusher_;
};
