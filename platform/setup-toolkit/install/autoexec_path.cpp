// Putting a directory at the front of the PATH line of an AUTOEXEC.BAT-style
// file, as the core edits the text (path_lists.h). The result is written to
// szDst, which may be szFile itself; a missing szFile counts as empty.
#include <string>

#include "path_lists.h"
#include "platform/setup-toolkit/install/install_state.h"

namespace {

BOOL Fail(const std::string& what, DWORD error) {
  StfLogError(what.c_str(), error);
  SetLastError(error);
  return FALSE;
}

bool ReadWholeFile(LPCSTR file, std::string* text) {
  text->clear();
  HANDLE h = CreateFileA(file, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    DWORD error = GetLastError();
    SetLastError(error);
    return file[0] == '\0' || error == ERROR_FILE_NOT_FOUND;  // nothing yet: empty
  }
  char buffer[8192];
  DWORD got = 0;
  BOOL ok;
  while ((ok = ReadFile(h, buffer, sizeof buffer, &got, nullptr)) && got > 0) text->append(buffer, got);
  DWORD error = GetLastError();
  CloseHandle(h);
  SetLastError(error);
  return ok != FALSE;
}

}  // namespace

extern "C" {

BOOL STFAPI FPrependToPath(LPCSTR file, LPCSTR dst, LPCSTR dir, UINT) {
  if (file == nullptr || dst == nullptr || dst[0] == '\0' || dir == nullptr || dir[0] == '\0' ||
      std::string(dir).find(';') != std::string::npos) {
    return Fail("FPrependToPath: bad arguments", ERROR_INVALID_PARAMETER);
  }
  std::string text;
  if (!ReadWholeFile(file, &text)) return Fail("ReadFile " + std::string(file), GetLastError());

  const std::string out = stf::PrependToPathLine(text, dir);
  HANDLE h = CreateFileA(dst, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) return Fail("CreateFileA " + std::string(dst), GetLastError());
  DWORD written = 0;
  BOOL ok = WriteFile(h, out.data(), static_cast<DWORD>(out.size()), &written, nullptr) &&
            written == out.size();
  DWORD error = GetLastError();
  CloseHandle(h);
  if (!ok) return Fail("WriteFile " + std::string(dst), error);
  return TRUE;
}

}  // extern "C"
