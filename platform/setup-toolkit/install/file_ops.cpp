// Single file, directory and INI operations of the install library. Every
// failure is logged with the Win32 error before 0 is returned.
#include <string>

#include "dbcs_path.h"
#include "platform/setup-toolkit/install/install_state.h"
#include "platform/setup-toolkit/install/restart_list.h"

static BOOL Logged(BOOL ok, const std::string& what) {
  if (!ok) {
    DWORD error = GetLastError();
    StfLogError(what.c_str(), error);
    SetLastError(error);
  }
  return ok;
}

static std::string Text(LPCSTR s) { return s ? s : ""; }

static bool Exists(LPCSTR path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }


extern "C" {

// ---- directories ----

BOOL STFAPI FCreateDir(LPCSTR dir, UINT) {
  if (dir == nullptr || dir[0] == '\0') return FALSE;
  for (const std::string& partial : stf::DirectoryChain(dir, StfIsLeadByte)) {
    if (!CreateDirectoryA(partial.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
      return Logged(FALSE, "CreateDirectoryA " + partial);
    }
  }
  DWORD attributes = GetFileAttributesA(dir);
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    SetLastError(attributes == INVALID_FILE_ATTRIBUTES ? GetLastError() : ERROR_ALREADY_EXISTS);
    return Logged(FALSE, "FCreateDir " + Text(dir));
  }
  return TRUE;
}

BOOL STFAPI FRemoveDir(LPCSTR dir, UINT) {
  if (dir == nullptr || dir[0] == '\0') return FALSE;
  if (!Exists(dir)) return TRUE;  // nothing to remove
  return Logged(RemoveDirectoryA(dir), "RemoveDirectoryA " + Text(dir));
}

// ---- INI files, through the system's profile functions ----

BOOL STFAPI FRemoveIniSection(LPCSTR file, LPCSTR section, UINT) {
  if (file == nullptr || section == nullptr) return FALSE;
  return Logged(WritePrivateProfileStringA(section, nullptr, nullptr, file),
                "WritePrivateProfileStringA (remove section " + Text(section) + ") " + file);
}

BOOL STFAPI FCreateIniKeyValue(LPCSTR file, LPCSTR section, LPCSTR key, LPCSTR value, UINT cmo) {
  if (file == nullptr || section == nullptr || key == nullptr || key[0] == '\0') return FALSE;
  if (!(cmo & cmoForceWrite)) {
    // Without cmoForceWrite an existing value stays as it is.
    static const char kAbsent[] = "\x01stf-absent\x01";
    char current[sizeof kAbsent + 1];
    GetPrivateProfileStringA(section, key, kAbsent, current, sizeof current, file);
    if (lstrcmpA(current, kAbsent) != 0) return TRUE;
  }
  return Logged(WritePrivateProfileStringA(section, key, value ? value : "", file),
                "WritePrivateProfileStringA " + Text(file) + " [" + section + "] " + key);
}

BOOL STFAPI FRemoveIniKey(LPCSTR file, LPCSTR section, LPCSTR key, UINT) {
  if (file == nullptr || section == nullptr || key == nullptr) return FALSE;
  return Logged(WritePrivateProfileStringA(section, key, nullptr, file),
                "WritePrivateProfileStringA (remove key " + Text(key) + ") " + file);
}

BOOL STFAPI FCreateSysIniKeyValue(LPCSTR file, LPCSTR section, LPCSTR key, LPCSTR value,
                                  UINT cmo) {
  if (file == nullptr || file[0] == '\0') return FALSE;
  if (stf::IsRooted(file)) return FCreateIniKeyValue(file, section, key, value, cmo);
  char path[MAX_PATH];
  UINT n = GetSystemDirectoryA(path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return Logged(FALSE, "GetSystemDirectoryA");
  std::string full = std::string(path) + "\\" + file;
  return FCreateIniKeyValue(full.c_str(), section, key, value, cmo);
}

// ---- single files ----

INT STFAPI YnrcRemoveFile(LPCSTR file, UINT cmo) {
  if (file == nullptr || file[0] == '\0') return 0;
  if (DeleteFileA(file)) return 1;
  DWORD error = GetLastError();
  if (error == ERROR_FILE_NOT_FOUND) return 1;  // already gone
  if ((cmo & cmoRestart) && IsBusyError(error) && QueueRemoveAtBoot(file)) return 1;
  SetLastError(error);
  return Logged(FALSE, "DeleteFileA " + Text(file));
}

INT STFAPI YnrcBackupFile(LPCSTR file, LPCSTR backup, UINT) {
  if (file == nullptr || file[0] == '\0' || backup == nullptr || backup[0] == '\0') return 0;
  if (!Exists(file)) return 1;  // nothing to keep
  // A bare backup name goes beside the file.
  std::string target = stf::DirectoryOf(backup, StfIsLeadByte).empty()
                           ? stf::DirectoryOf(file, StfIsLeadByte) + backup
                           : backup;
  return Logged(CopyFileA(file, target.c_str(), FALSE),
                "CopyFileA (backup) " + Text(file) + " to " + target);
}

// Appends the bytes of src to the end of dst (created when missing).
static BOOL AppendFile(LPCSTR src, LPCSTR dst) {
  HANDLE in = CreateFileA(src, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (in == INVALID_HANDLE_VALUE) return Logged(FALSE, "CreateFileA (read) " + Text(src));
  HANDLE out = CreateFileA(dst, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) {
    CloseHandle(in);
    return Logged(FALSE, "CreateFileA (append) " + Text(dst));
  }
  char buffer[16384];
  DWORD got = 0, put = 0;
  BOOL ok = TRUE;
  while (ok && (ok = ReadFile(in, buffer, sizeof buffer, &got, nullptr)) && got > 0) {
    ok = WriteFile(out, buffer, got, &put, nullptr) && put == got;
  }
  DWORD error = GetLastError();
  CloseHandle(in);
  CloseHandle(out);
  SetLastError(error);
  return Logged(ok, "append " + Text(src) + " to " + dst);
}

BOOL STFAPI FCopyOneFile(LPCSTR src, LPCSTR dst, UINT cmo, BOOL append) {
  if (src == nullptr || dst == nullptr || src[0] == '\0' || dst[0] == '\0') return FALSE;
  if (append) return AppendFile(src, dst);
  if (!(cmo & cmoOverwrite) && Exists(dst)) return TRUE;  // an existing target stays
  if (CopyFileA(src, dst, FALSE)) {
    // The copy that landed is what the disk's manifest and signature judge.
    if (!StfCheckLandedFile(src, dst, FALSE)) {
      const DWORD error = GetLastError();
      DeleteFileA(dst);
      SetLastError(error);
      return FALSE;
    }
    DWORD size = 0;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExA(dst, GetFileExInfoStandard, &data)) size = data.nFileSizeLow;
    StfLogCopied(src, dst, size);
    return TRUE;
  }
  DWORD error = GetLastError();
  if ((cmo & cmoRestart) && IsBusyError(error) && Exists(src) && Exists(dst)) {
    return QueueReplaceAtBoot(src, dst) ? TRUE : FALSE;
  }
  SetLastError(error);
  return Logged(FALSE, "CopyFileA " + Text(src) + " to " + dst);
}

// ---- questions: no log, no failure ----

BOOL STFAPI FIsDirWritable(LPCSTR dir) {
  char temp[MAX_PATH];
  if (dir == nullptr || dir[0] == '\0' || !GetTempFileNameA(dir, "stf", 0, temp)) return FALSE;
  DeleteFileA(temp);
  return TRUE;
}

BOOL STFAPI FIsFileWritable(LPCSTR file) {
  if (file == nullptr || file[0] == '\0') return FALSE;
  DWORD attributes = GetFileAttributesA(file);
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    // A missing file is writable when it can be created.
    if (GetLastError() != ERROR_FILE_NOT_FOUND) return FALSE;
    std::string dir = stf::DirectoryOf(file, StfIsLeadByte);
    return FIsDirWritable(dir.empty() ? "." : dir.c_str());
  }
  if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) return FALSE;
  HANDLE h = CreateFileA(file, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return FALSE;
  CloseHandle(h);
  return TRUE;
}

INT STFAPI WFindFileUsingFileOpen(LPCSTR file, LPSTR buffer, INT size) {
  if (file == nullptr || file[0] == '\0') return 1;
  // The search order of OpenFile: current, program's, system and Windows
  // directories, then PATH (SearchPathA's order with a null path).
  char found[MAX_PATH];
  DWORD n = SearchPathA(nullptr, file, nullptr, MAX_PATH, found, nullptr);
  if (n == 0 || n >= MAX_PATH) return 1;
  if (buffer == nullptr || size <= 0 || static_cast<INT>(n) >= size) return 2;
  lstrcpyA(buffer, found);
  return 0;
}

}  // extern "C"
