#include "support/file_digest.h"

#include <vector>

#include "platform/setup-toolkit/core/sha256.h"

DWORD DigestFile(LPCSTR path, PlacedFile* file, LPCSTR* call) {
  // Shared every way: a loaded driver and a running program are read as they lie.
  HANDLE handle = CreateFileA(path, GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    *call = "CreateFileA";
    return GetLastError();
  }
  stf::Sha256 hash;
  std::vector<char> buffer(64 * 1024);
  std::uint64_t size = 0;
  DWORD error = ERROR_SUCCESS;
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(handle, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) {
      error = GetLastError();
      *call = "ReadFile";
      break;
    }
    if (got == 0) break;
    hash.Update(buffer.data(), got);
    size += got;
  }
  CloseHandle(handle);
  if (error != ERROR_SUCCESS) return error;
  unsigned char digest[stf::kSha256Size];
  hash.Finish(digest);
  file->path = path;
  file->hashed = true;
  file->size = size;
  file->sha256 = stf::Sha256Text(digest);
  return ERROR_SUCCESS;
}
