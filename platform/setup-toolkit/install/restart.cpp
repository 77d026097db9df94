// The restart list and the restart that completes it. A replacement of a file
// in use cannot happen now; the new file is staged in the target's volume and
// the system's delayed-replace mechanism puts it in place at the next boot.
#include <string>
#include <vector>

#include "dbcs_path.h"
#include "platform/setup-toolkit/install/restart_list.h"

static std::vector<std::string> pending;  // targets queued by this process
static std::string restartDir;            // FSetRestartDir; empty: the target's own

typedef BOOL(WINAPI* GetVolumePathNameEntry)(LPCSTR, LPSTR, DWORD);


// Windows 2000 and later mount volumes in folders and say where; before them
// a volume is a drive or a network share.
static std::string VolumeOf(const std::string& path) {
  static GetVolumePathNameEntry volumePathName = reinterpret_cast<GetVolumePathNameEntry>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("KERNEL32.DLL"), "GetVolumePathNameA")));
  if (volumePathName == nullptr) return stf::VolumeRootOf(path, StfIsLeadByte);
  char volume[MAX_PATH];
  if (!volumePathName(path.c_str(), volume, MAX_PATH)) return std::string();
  return volume;
}

// Where the staged copy of a new file goes: the restart directory when it is on
// the target's volume (a delayed move cannot cross volumes), else beside it.
static std::string StagingDirFor(const std::string& target) {
  std::string dir = stf::DirectoryOf(target, StfIsLeadByte);
  if (!restartDir.empty() && lstrcmpiA(VolumeOf(restartDir).c_str(), VolumeOf(dir).c_str()) == 0) {
    return restartDir;
  }
  return dir.empty() ? std::string(".") : dir;
}

bool IsBusyError(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
         error == ERROR_ACCESS_DENIED || error == ERROR_USER_MAPPED_FILE;
}

bool QueueReplaceAtBoot(const std::string& src, const std::string& target) {
  char staged[MAX_PATH];
  std::string dir = StagingDirFor(target);
  if (!GetTempFileNameA(dir.c_str(), "stf", 0, staged)) {
    StfLogError(("GetTempFileNameA (restart staging) " + dir).c_str(), GetLastError());
    return false;
  }
  if (!CopyFileA(src.c_str(), staged, FALSE)) {
    DWORD error = GetLastError();
    DeleteFileA(staged);
    StfLogError(("CopyFileA (restart staging) " + src).c_str(), error);
    SetLastError(error);
    return false;
  }
  if (!MoveFileExA(staged, target.c_str(),
                   MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING)) {
    DWORD error = GetLastError();
    DeleteFileA(staged);
    StfLogError(("MoveFileExA (replace at restart) " + target).c_str(), error);
    SetLastError(error);
    return false;
  }
  pending.push_back(target);
  FWriteToLogFile(("Queued for restart: " + target + " (from " + staged + ")").c_str(), TRUE);
  return true;
}

bool QueueRemoveAtBoot(const std::string& target) {
  if (!MoveFileExA(target.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
    StfLogError(("MoveFileExA (remove at restart) " + target).c_str(), GetLastError());
    return false;
  }
  pending.push_back(target);
  FWriteToLogFile(("Queued for removal at restart: " + target).c_str(), TRUE);
  return true;
}

static bool EnableShutdownPrivilege() {
  HANDLE token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
    return false;
  }
  TOKEN_PRIVILEGES privileges = {};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  bool ok = LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid) &&
            AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) &&
            GetLastError() == ERROR_SUCCESS;  // ERROR_NOT_ALL_ASSIGNED: not held
  DWORD error = GetLastError();
  CloseHandle(token);
  SetLastError(error);
  return ok;
}

extern "C" {

BOOL STFAPI FRestartListEmpty(void) { return pending.empty() ? TRUE : FALSE; }

BOOL STFAPI FSetRestartDir(LPCSTR dir) {
  if (dir == nullptr || dir[0] == '\0') {
    restartDir.clear();
    return TRUE;
  }
  DWORD attributes = GetFileAttributesA(dir);
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    StfLogError(("FSetRestartDir " + std::string(dir)).c_str(),
                attributes == INVALID_FILE_ATTRIBUTES ? GetLastError() : ERROR_DIRECTORY);
    return FALSE;
  }
  restartDir = dir;
  return TRUE;
}

BOOL STFAPI FExitExecRestart(void) {
  if (pending.empty()) {
    FWriteToLogFile("FExitExecRestart: nothing is waiting for a restart", TRUE);
    return FALSE;
  }
  if (!EnableShutdownPrivilege()) {
    StfLogError("FExitExecRestart: SeShutdownPrivilege", GetLastError());
    return FALSE;
  }
  FWriteToLogFile("Restarting Windows to finish the replacement of files in use", TRUE);
  if (!ExitWindowsEx(EWX_REBOOT, SHTDN_REASON_MAJOR_APPLICATION |
                                     SHTDN_REASON_MINOR_INSTALLATION |
                                     SHTDN_REASON_FLAG_PLANNED)) {
    StfLogError("ExitWindowsEx (EWX_REBOOT)", GetLastError());
    return FALSE;
  }
  return TRUE;
}

}  // extern "C"
