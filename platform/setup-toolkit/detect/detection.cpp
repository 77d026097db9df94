// Machine and file detection: drives, files, INI entries, environment.
#include <string>

#include "platform/setup-toolkit/stf_internal.h"
#include "version_fields.h"

static INT CopyText(const std::string& text, LPSTR buffer, INT size) {
  INT length = static_cast<INT>(text.size());
  if (buffer != nullptr && length < size) lstrcpyA(buffer, text.c_str());
  return length;
}

static UINT DriveType(INT drive) {
  if (drive < 1 || drive > 26) return DRIVE_NO_ROOT_DIR;
  char root[] = "A:\\";
  root[0] = static_cast<char>('A' + drive - 1);
  return GetDriveTypeA(root);
}

static LONG DriveBytes(INT drive, bool free) {
  if (drive < 1 || drive > 26) return -1;
  char root[] = "A:\\";
  root[0] = static_cast<char>('A' + drive - 1);
  ULARGE_INTEGER available, total, totalFree;
  if (!GetDiskFreeSpaceExA(root, &available, &total, &totalFree)) return -1;
  unsigned long long bytes = free ? available.QuadPart : total.QuadPart;
  return bytes > 0x7FFFFFFFull ? 0x7FFFFFFF : static_cast<LONG>(bytes);
}

static BOOL FillDriveList(LPCSTR symbol, bool (*wanted)(UINT type)) {
  if (symbol == nullptr) return FALSE;
  FRemoveSymbol(symbol);  // a fresh list, whether or not one was there
  DWORD mask = GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if (!(mask & (1u << i)) || !wanted(DriveType(i + 1))) continue;
    char letter[3] = {static_cast<char>('A' + i), ':', '\0'};
    if (!FAddListItem(symbol, letter)) return FALSE;
  }
  return TRUE;
}

extern "C" {

BOOL STFAPI FIsValidDrive(INT d) { UINT t = DriveType(d); return t != DRIVE_NO_ROOT_DIR && t != DRIVE_UNKNOWN; }
BOOL STFAPI FIsLocalHardDrive(INT d) { return DriveType(d) == DRIVE_FIXED; }
BOOL STFAPI FIsRemoveDrive(INT d) { return DriveType(d) == DRIVE_REMOVABLE; }
BOOL STFAPI FIsRemoteDrive(INT d) { return DriveType(d) == DRIVE_REMOTE; }
LONG STFAPI LcbTotalDrive(INT d) { return DriveBytes(d, false); }
LONG STFAPI LcbFreeDrive(INT d) { return DriveBytes(d, true); }

BOOL STFAPI FGetValidDrivesList(LPCSTR s) {
  return FillDriveList(s, [](UINT t) { return t != DRIVE_NO_ROOT_DIR && t != DRIVE_UNKNOWN; });
}
BOOL STFAPI FGetLocalHardDrivesList(LPCSTR s) {
  return FillDriveList(s, [](UINT t) { return t == DRIVE_FIXED; });
}
BOOL STFAPI FGetRemovableDrivesList(LPCSTR s) {
  return FillDriveList(s, [](UINT t) { return t == DRIVE_REMOVABLE; });
}
BOOL STFAPI FGetNetworkDrivesList(LPCSTR s) {
  return FillDriveList(s, [](UINT t) { return t == DRIVE_REMOTE; });
}

// Ports are the system's device names LPT1.. and COM1..
static BOOL FillPortList(LPCSTR symbol, const char* prefix) {
  if (symbol == nullptr) return FALSE;
  FRemoveSymbol(symbol);
  for (int i = 1; i <= 9; ++i) {
    char name[8], target[MAX_PATH];
    wsprintfA(name, "%s%d", prefix, i);
    if (QueryDosDeviceA(name, target, MAX_PATH) && !FAddListItem(symbol, name)) return FALSE;
  }
  return TRUE;
}
BOOL STFAPI FGetParallelPortsList(LPCSTR s) { return FillPortList(s, "LPT"); }
BOOL STFAPI FGetSerialPortsList(LPCSTR s) { return FillPortList(s, "COM"); }

INT STFAPI CbGetIniKeyString(LPCSTR file, LPCSTR section, LPCSTR key, LPSTR buffer, INT size) {
  char value[1024];
  DWORD n = GetPrivateProfileStringA(section, key, "", value, sizeof value, file);
  return CopyText(std::string(value, n), buffer, size);
}

INT STFAPI CbGetEnvVariableValue(LPCSTR var, LPSTR buffer, INT size) {
  char value[4096];
  DWORD n = GetEnvironmentVariableA(var, value, sizeof value);
  if (n >= sizeof value) n = 0;
  return CopyText(std::string(value, n), buffer, size);
}

INT STFAPI CbGetVersionOfFile(LPCSTR, LPSTR buffer, INT size) { return CopyText("", buffer, size); }

INT STFAPI CbFindTargetOnEnvVar(LPCSTR file, LPCSTR var, LPSTR buffer, INT size) {
  char dirs[4096];
  DWORD n = GetEnvironmentVariableA(var, dirs, sizeof dirs);
  if (n == 0 || n >= sizeof dirs) return CopyText("", buffer, size);
  char found[MAX_PATH];
  DWORD m = SearchPathA(dirs, file, nullptr, MAX_PATH, found, nullptr);
  return CopyText(m > 0 && m < MAX_PATH ? found : "", buffer, size);
}

INT STFAPI CbGetDateOfFile(LPCSTR file, LPSTR buffer, INT size) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  FILETIME local;
  SYSTEMTIME t;
  if (!GetFileAttributesExA(file, GetFileExInfoStandard, &data) ||
      !FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !FileTimeToSystemTime(&local, &t)) {
    return CopyText("", buffer, size);
  }
  char text[32];
  wsprintfA(text, "%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
            t.wSecond);
  return CopyText(text, buffer, size);
}

INT STFAPI CbFindFileInTree(LPCSTR, LPCSTR, LPSTR buffer, INT size) {
  FWriteToLogFile("CbFindFileInTree is not available in this version", TRUE);
  return CopyText("", buffer, size);
}

BOOL STFAPI FDoesFileExist(LPCSTR file, INT mode) {
  DWORD a = GetFileAttributesA(file);
  if (a == INVALID_FILE_ATTRIBUTES || (a & FILE_ATTRIBUTE_DIRECTORY)) return FALSE;
  return mode == 0 || !(a & FILE_ATTRIBUTE_READONLY);
}

LONG STFAPI LGetVersionNthField(LPCSTR version, INT field) {
  return static_cast<LONG>(stf::VersionNthField(version ? version : "", field));
}

LONG STFAPI LcbGetSizeOfFile(LPCSTR file) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(file, GetFileExInfoStandard, &data)) return -1;
  if (data.nFileSizeHigh != 0 || data.nFileSizeLow > 0x7FFFFFFF) return 0x7FFFFFFF;
  return static_cast<LONG>(data.nFileSizeLow);
}

BOOL STFAPI FIsDriverInConfig(LPCSTR) { return FALSE; }
BOOL STFAPI FHas87MathChip(void) { return TRUE; }  // every processor NT runs on has one
BOOL STFAPI FHasMonochromeDisplay(void) { return FALSE; }
BOOL STFAPI FHasMouseInstalled(void) { return GetSystemMetrics(SM_MOUSEPRESENT) != 0; }

BOOL STFAPI FDirExists(LPCSTR dir) {
  DWORD a = GetFileAttributesA(dir);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

BOOL STFAPI FDoesIniSectionExist(LPCSTR file, LPCSTR section) {
  char keys[16];
  return GetPrivateProfileStringA(section, nullptr, "", keys, sizeof keys, file) > 0;
}

BOOL STFAPI FDoesIniKeyExist(LPCSTR file, LPCSTR section, LPCSTR key) {
  char value[4];
  const char* absent = "\x01";
  GetPrivateProfileStringA(section, key, absent, value, sizeof value, file);
  return lstrcmpA(value, absent) != 0;
}

BOOL STFAPI FGetProcessorType(LPCSTR, INT, LPSTR buffer, INT size) {
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  const char* name = info.wProcessorLevel >= 4 || info.dwProcessorType == PROCESSOR_INTEL_PENTIUM
                         ? "80486"
                         : info.wProcessorLevel == 3 ? "80386" : "80486";
  return CopyText(name, buffer, size) < size;
}

}  // extern "C"
