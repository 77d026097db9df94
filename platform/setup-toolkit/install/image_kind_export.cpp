// The kind of image a file is, for a program that must check a driver before
// it changes anything: read through the copy's own file calls (no file-system
// redirection, compressed files expanded as the copy expands them).
#include "image_kind.h"
#include "platform/setup-toolkit/install/win32_file_system.h"
#include "platform/setup-toolkit/stf_internal.h"

extern "C" DWORD STFAPI StfReadImageKind(LPCSTR file, LPWORD machine, LPWORD subsystem,
                                         LPWORD flags, LPSTR problem, INT problemSize) {
  if (file == nullptr || machine == nullptr || subsystem == nullptr || flags == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  Win32FileSystem fs(false);
  stf::FileHandle handle = nullptr;
  stf::SysError error = fs.OpenRead(file, &handle);
  stf::ImageKind kind;
  std::string why;
  if (error == 0) {
    error = stf::ReadImageKind(
        [&fs, handle](std::uint64_t offset, void* buffer, std::size_t size, std::size_t* got) {
          return fs.Read(handle, offset, buffer, size, got);
        },
        &kind, &why);
    fs.Close(handle);
  }
  *machine = kind.machine;
  *subsystem = kind.subsystem;
  *flags = kind.characteristics;
  if (problem != nullptr && problemSize > 0) lstrcpynA(problem, why.c_str(), problemSize);
  return error;
}
