// Single file, directory and INI operations of the install library.
#include <string>

#include "platform/setup-toolkit/install/install_state.h"

static const char kUnavailable[] = " is not available in this version";

static BOOL Unavailable(const char* name) {
  std::string text = std::string(name) + kUnavailable;
  FWriteToLogFile(text.c_str(), TRUE);
  SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
  return FALSE;
}

static BOOL Logged(BOOL ok, const std::string& what) {
  if (!ok) StfLogError(what.c_str(), GetLastError());
  return ok;
}

extern "C" {

BOOL STFAPI FCreateDir(LPCSTR dir, UINT) {
  if (dir == nullptr) return FALSE;
  std::string partial;
  for (const char* p = dir; *p; p = CharNextA(p)) {
    const char* next = CharNextA(p);
    partial.append(p, next);
    bool last = *next == '\0';
    if ((*p == '\\' && next == p + 1) || last) {
      if (partial.size() <= 3) continue;
      if (!CreateDirectoryA(partial.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        return Logged(FALSE, "CreateDirectoryA " + partial);
      }
    }
  }
  return TRUE;
}

BOOL STFAPI FRemoveDir(LPCSTR dir, UINT) {
  return Logged(dir && RemoveDirectoryA(dir), "RemoveDirectoryA " + std::string(dir ? dir : ""));
}

BOOL STFAPI FRemoveIniSection(LPCSTR file, LPCSTR section, UINT) {
  return Logged(WritePrivateProfileStringA(section, nullptr, nullptr, file),
                "WritePrivateProfileStringA (remove section)");
}

BOOL STFAPI FCreateIniKeyValue(LPCSTR file, LPCSTR section, LPCSTR key, LPCSTR value, UINT) {
  return Logged(WritePrivateProfileStringA(section, key, value ? value : "", file),
                "WritePrivateProfileStringA " + std::string(file ? file : ""));
}

BOOL STFAPI FRemoveIniKey(LPCSTR file, LPCSTR section, LPCSTR key, UINT) {
  return Logged(WritePrivateProfileStringA(section, key, nullptr, file),
                "WritePrivateProfileStringA (remove key)");
}

BOOL STFAPI FCreateSysIniKeyValue(LPCSTR file, LPCSTR section, LPCSTR key, LPCSTR value,
                                  UINT cmo) {
  char path[MAX_PATH];
  UINT n = GetSystemDirectoryA(path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH || file == nullptr) return FALSE;
  std::string full = std::string(path) + "\\" + file;
  return FCreateIniKeyValue(full.c_str(), section, key, value, cmo);
}

INT STFAPI YnrcRemoveFile(LPCSTR file, UINT) {
  if (file == nullptr) return 0;
  if (DeleteFileA(file) || GetLastError() == ERROR_FILE_NOT_FOUND) return 1;
  return Logged(FALSE, "DeleteFileA " + std::string(file));
}

INT STFAPI YnrcBackupFile(LPCSTR file, LPCSTR backup, UINT) {
  return Logged(file && backup && CopyFileA(file, backup, FALSE),
                "CopyFileA (backup) " + std::string(file ? file : ""));
}

BOOL STFAPI FCopyOneFile(LPCSTR src, LPCSTR dst, UINT cmo, BOOL) {
  return Logged(src && dst && CopyFileA(src, dst, (cmo & cmoOverwrite) ? FALSE : TRUE),
                "CopyFileA " + std::string(src ? src : ""));
}

BOOL STFAPI FIsDirWritable(LPCSTR dir) {
  char temp[MAX_PATH];
  if (dir == nullptr || !GetTempFileNameA(dir, "stf", 0, temp)) return FALSE;
  DeleteFileA(temp);
  return TRUE;
}

BOOL STFAPI FIsFileWritable(LPCSTR file) {
  HANDLE h = CreateFileA(file, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return FALSE;
  CloseHandle(h);
  return TRUE;
}

INT STFAPI WFindFileUsingFileOpen(LPCSTR file, LPSTR buffer, INT size) {
  char found[MAX_PATH];
  DWORD n = SearchPathA(nullptr, file, nullptr, MAX_PATH, found, nullptr);
  if (n == 0 || n >= MAX_PATH) return 1;
  if (buffer == nullptr || static_cast<INT>(n) >= size) return 2;
  lstrcpyA(buffer, found);
  return 0;
}

LONG STFAPI LcbGetCopyListCost(LPCSTR, LPCSTR, LPCSTR) {
  LONG total = 0;
  DWORD size;
  char src[MAX_PATH * 2], dst[MAX_PATH * 2];
  for (INT i = 0; StfGetCopyEntry(i, src, sizeof src, dst, sizeof dst, &size); ++i) total += size;
  return total;
}

BOOL STFAPI FDumpCopyListToFile(LPCSTR file) {
  HANDLE h = CreateFileA(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return Logged(FALSE, "CreateFileA " + std::string(file ? file : ""));
  char src[MAX_PATH * 2], dst[MAX_PATH * 2];
  BOOL ok = TRUE;
  for (INT i = 0; ok && StfGetCopyEntry(i, src, sizeof src, dst, sizeof dst, nullptr); ++i) {
    std::string line = std::string(src) + " -> " + dst + "\r\n";
    DWORD written;
    ok = WriteFile(h, line.c_str(), static_cast<DWORD>(line.size()), &written, nullptr);
  }
  CloseHandle(h);
  return ok;
}

BOOL STFAPI FRestartListEmpty(void) { return TRUE; }
BOOL STFAPI FSetRestartDir(LPCSTR) { return TRUE; }

BOOL STFAPI FCreateProgManGroup(LPCSTR, LPCSTR, UINT) { return Unavailable("FCreateProgManGroup"); }
BOOL STFAPI FCreateProgManGroupEx(LPCSTR, LPCSTR, UINT) { return Unavailable("FCreateProgManGroupEx"); }
BOOL STFAPI FShowProgManGroup(LPCSTR, LPCSTR, UINT) { return Unavailable("FShowProgManGroup"); }
BOOL STFAPI FShowProgManGroupEx(LPCSTR, LPCSTR, LPCSTR, UINT) {
  return Unavailable("FShowProgManGroupEx");
}
BOOL STFAPI FCreateProgManItem(LPCSTR, LPCSTR, LPCSTR, UINT) { return Unavailable("FCreateProgManItem"); }
BOOL STFAPI FCreateProgManItemEx(LPCSTR, LPCSTR, LPCSTR, LPCSTR, UINT) {
  return Unavailable("FCreateProgManItemEx");
}
BOOL STFAPI FStampResource(LPCSTR, LPCSTR, LPCSTR, UINT, UINT, LPCSTR, INT) {
  return Unavailable("FStampResource");
}
BOOL STFAPI FPrependToPath(LPCSTR, LPCSTR, LPCSTR, UINT) { return Unavailable("FPrependToPath"); }
BOOL STFAPI FExitExecRestart(void) { return Unavailable("FExitExecRestart"); }

}  // extern "C"
