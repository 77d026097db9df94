#include "platform/setup-toolkit/install/win32_file_system.h"

namespace {

stf::SysError LastError() {
  const DWORD error = GetLastError();
  return error != 0 ? error : ERROR_GEN_FAILURE;  // a failure always has a reason
}

HANDLE Handle(stf::FileHandle file) { return static_cast<HANDLE>(file); }

template <typename Function>
Function Kernel32(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), name)));
}

}  // namespace

// Looked up at run time: Windows NT 4.0 has neither redirection nor hard links.
Win32FileSystem::Win32FileSystem(bool threadedFlush)
    : disable_(Kernel32<DisableRedirection>("Wow64DisableWow64FsRedirection")),
      revert_(Kernel32<RevertRedirection>("Wow64RevertWow64FsRedirection")),
      link_(Kernel32<CreateHardLink>("CreateHardLinkA")),
      flusher_(threadedFlush) {}

template <typename Call>
stf::SysError Win32FileSystem::Unredirected(Call call) {
  PVOID old = nullptr;
  const bool off = disable_ && revert_ && disable_(&old);
  SetLastError(ERROR_SUCCESS);
  const stf::SysError error = call() ? 0 : LastError();
  if (off) revert_(old);
  return error;
}

stf::SysError Win32FileSystem::Stat(const std::string& path, stf::FileStat* out) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  const stf::SysError error = Unredirected(
      [&] { return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data); });
  if (error != 0) return error;
  out->directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  out->attributes = data.dwFileAttributes;
  out->size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  return 0;
}

// Under Wine a search reads the whole directory, even for one name.
stf::SysError Win32FileSystem::StoredName(const std::string& path, std::string* name) {
  if (path.find_first_of("*?") != std::string::npos) return ERROR_INVALID_NAME;
  WIN32_FIND_DATAA data;
  HANDLE find = INVALID_HANDLE_VALUE;
  stf::SysError error = Unredirected([&] {
    find = FindFirstFileA(path.c_str(), &data);
    return find != INVALID_HANDLE_VALUE;
  });
  if (error == ERROR_NO_MORE_FILES) error = ERROR_FILE_NOT_FOUND;
  if (error != 0) return error;
  FindClose(find);
  *name = data.cFileName;
  return 0;
}

stf::SysError Win32FileSystem::MakeDir(const std::string& path) {
  return Unredirected([&] { return CreateDirectoryA(path.c_str(), nullptr); });
}

stf::SysError Win32FileSystem::RemoveDir(const std::string& path) {
  return Unredirected([&] { return RemoveDirectoryA(path.c_str()); });
}

// The whole search runs with redirection off: the handle names the directory.
stf::SysError Win32FileSystem::ListDir(const std::string& dir, std::vector<std::string>* names) {
  names->clear();
  const std::string pattern = dir + (dir.empty() || dir.back() == '\\' ? "*" : "\\*");
  return Unredirected([&] {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return FALSE;
    do {
      const std::string name = data.cFileName;
      if (name != "." && name != "..") names->push_back(name);
    } while (FindNextFileA(find, &data));
    const DWORD error = GetLastError();
    FindClose(find);
    SetLastError(error == ERROR_NO_MORE_FILES ? ERROR_SUCCESS : error);
    return error == ERROR_NO_MORE_FILES ? TRUE : FALSE;
  });
}

stf::SysError Win32FileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
  return Unredirected([&] { return SetFileAttributesA(path.c_str(), attributes); });
}

// Others may read and even rename a file being read (a loaded driver is).
stf::SysError Win32FileSystem::OpenRead(const std::string& path, stf::FileHandle* out) {
  return Unredirected([&] {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    *out = file;
    return file != INVALID_HANDLE_VALUE;
  });
}

stf::SysError Win32FileSystem::CreateWrite(const std::string& path, stf::FileHandle* out) {
  return Unredirected([&] {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    *out = file;
    return file != INVALID_HANDLE_VALUE;
  });
}

// The offset goes with the call, so that no separate seek is needed.
stf::SysError Win32FileSystem::Read(stf::FileHandle file, std::uint64_t offset, void* buffer,
                                    std::size_t size, std::size_t* got) {
  OVERLAPPED at = {};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  DWORD read = 0;
  SetLastError(ERROR_SUCCESS);
  const BOOL ok = ReadFile(Handle(file), buffer, static_cast<DWORD>(size), &read, &at);
  *got = read;
  if (ok) return 0;
  const DWORD error = GetLastError();
  return error == ERROR_HANDLE_EOF ? 0 : LastError();
}

// A short write that reports success (Wine on a full disk), or a failure
// without a reason, is a full disk. The last error is cleared first, since a
// stale one would otherwise be taken for the reason.
stf::SysError Win32FileSystem::Write(stf::FileHandle file, const void* data, std::size_t size) {
  DWORD put = 0;
  SetLastError(ERROR_SUCCESS);
  const BOOL ok = WriteFile(Handle(file), data, static_cast<DWORD>(size), &put, nullptr);
  const DWORD error = GetLastError();
  if (ok && put == size) return 0;
  return ok || error == ERROR_SUCCESS ? ERROR_DISK_FULL : error;
}

stf::SysError Win32FileSystem::Flush(stf::FileHandle file) {
  return FlushFileBuffers(Handle(file)) ? 0 : LastError();
}

stf::SysError Win32FileSystem::Close(stf::FileHandle file) {
  return CloseHandle(Handle(file)) ? 0 : LastError();
}

// The link waits for the flush on the worker; a link that fails is made, or
// replaced by a rename, when the file is put in place.
stf::SysError Win32FileSystem::FinishStaged(stf::FileHandle file, const std::string& path,
                                            const std::string& linkTarget,
                                            const std::string& linkName) {
  FlushWorker::Link link;
  if (!linkTarget.empty() && link_ != nullptr) {
    link = {linkTarget, linkName, link_, disable_, revert_};
  }
  return flusher_.Add(Handle(file), path, link);
}

stf::SysError Win32FileSystem::Settle(std::string* failedPath) {
  return flusher_.Settle(failedPath);
}

void Win32FileSystem::CopyFileTime(stf::FileHandle from, stf::FileHandle to) {
  FILETIME created, accessed, written;
  if (GetFileTime(Handle(from), &created, &accessed, &written)) {
    SetFileTime(Handle(to), nullptr, nullptr, &written);
  }
}

stf::SysError Win32FileSystem::Link(const std::string& existing, const std::string& link) {
  if (link_ == nullptr) return ERROR_CALL_NOT_IMPLEMENTED;
  return Unredirected([&] { return link_(link.c_str(), existing.c_str(), nullptr); });
}

stf::SysError Win32FileSystem::Move(const std::string& from, const std::string& to,
                                    bool replace) {
  const DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
  return Unredirected([&] { return MoveFileExA(from.c_str(), to.c_str(), flags); });
}

stf::SysError Win32FileSystem::Delete(const std::string& path) {
  return Unredirected([&] { return DeleteFileA(path.c_str()); });
}

stf::SysError Win32FileSystem::DeleteAtReboot(const std::string& path) {
  return Unredirected(
      [&] { return MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT); });
}

stf::SysError Win32FileSystem::FreeSpace(const std::string& dir, std::uint64_t* bytes) {
  ULARGE_INTEGER available;
  const stf::SysError error = Unredirected(
      [&] { return GetDiskFreeSpaceExA(dir.c_str(), &available, nullptr, nullptr); });
  if (error == 0) *bytes = available.QuadPart;
  return error;
}
