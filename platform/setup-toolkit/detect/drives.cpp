// Drives (numbered A = 1) and ports, from the system's drive and device queries.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "detect_util.h"

namespace {

bool RootOf(INT drive, char root[4]) {
  if (drive < 1 || drive > 26) return false;
  root[0] = static_cast<char>('A' + drive - 1);
  root[1] = ':';
  root[2] = '\\';
  root[3] = '\0';
  return true;
}

// A drive letter the system does not map counts as no drive, whatever
// GetDriveTypeA would guess for it.
UINT DriveType(INT drive) {
  char root[4];
  if (!RootOf(drive, root) || !(GetLogicalDrives() & (1u << (drive - 1)))) return DRIVE_NO_ROOT_DIR;
  return GetDriveTypeA(root);
}

bool IsValidType(UINT type) { return type != DRIVE_NO_ROOT_DIR && type != DRIVE_UNKNOWN; }

// The counts are signed 32-bit: larger drives read as the largest count.
LONG DriveBytes(INT drive, bool free, const char* function) {
  char root[4];
  if (!RootOf(drive, root)) return -1;
  ULARGE_INTEGER available, total, totalFree;
  if (!GetDiskFreeSpaceExA(root, &available, &total, &totalFree)) {
    detect::LogFailure(function, root, "GetDiskFreeSpaceExA failed", GetLastError());
    return -1;
  }
  // Free space is what this user may fill, which quotas can make less than the disk's.
  unsigned long long bytes = free ? available.QuadPart : total.QuadPart;
  return bytes > 0x7FFFFFFFull ? 0x7FFFFFFF : static_cast<LONG>(bytes);
}

BOOL AddItem(LPCSTR symbol, LPCSTR item, const char* function) {
  if (FAddListItem(symbol, item)) return TRUE;
  detect::LogFailure(function, symbol, "FAddListItem failed", 0);
  return FALSE;
}

BOOL FillDriveList(LPCSTR symbol, bool (*wanted)(UINT type), const char* function) {
  if (symbol == nullptr || symbol[0] == '\0') return FALSE;
  FRemoveSymbol(symbol);  // a fresh list, whether or not one was there
  DWORD mask = GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if (!(mask & (1u << i)) || !wanted(DriveType(i + 1))) continue;
    char letter[3] = {static_cast<char>('A' + i), ':', '\0'};
    if (!AddItem(symbol, letter, function)) return FALSE;
  }
  return TRUE;
}

// The port numbers n of the system's device names "<prefix>n" (COM10 and
// above included), ascending.
bool PortNumbers(const char* prefix, std::vector<int>* numbers, const char* function) {
  std::vector<char> names(16384);
  for (;;) {
    DWORD n = QueryDosDeviceA(nullptr, names.data(), static_cast<DWORD>(names.size()));
    if (n != 0) break;
    DWORD code = GetLastError();
    if (code != ERROR_INSUFFICIENT_BUFFER || names.size() >= (1u << 22)) {
      detect::LogFailure(function, prefix, "QueryDosDeviceA failed", code);
      return false;
    }
    names.resize(names.size() * 2);
  }
  size_t prefixLength = lstrlenA(prefix);
  for (const char* p = names.data(); *p != '\0'; p += lstrlenA(p) + 1) {
    std::string name = p;
    if (name.size() <= prefixLength ||
        lstrcmpiA(name.substr(0, prefixLength).c_str(), prefix) != 0) {
      continue;
    }
    std::string digits = name.substr(prefixLength);
    if (digits.size() > 3 || digits.find_first_not_of("0123456789") != std::string::npos ||
        digits[0] == '0') {
      continue;
    }
    numbers->push_back(std::atoi(digits.c_str()));
  }
  std::sort(numbers->begin(), numbers->end());
  numbers->erase(std::unique(numbers->begin(), numbers->end()), numbers->end());
  return true;
}

BOOL FillPortList(LPCSTR symbol, const char* prefix, const char* function) {
  if (symbol == nullptr || symbol[0] == '\0') return FALSE;
  std::vector<int> numbers;
  if (!PortNumbers(prefix, &numbers, function)) return FALSE;
  FRemoveSymbol(symbol);
  for (int number : numbers) {
    char name[16];
    wsprintfA(name, "%s%d", prefix, number);
    if (!AddItem(symbol, name, function)) return FALSE;
  }
  return TRUE;
}

}  // namespace

extern "C" {

BOOL STFAPI FIsValidDrive(INT drive) { return IsValidType(DriveType(drive)); }
BOOL STFAPI FIsLocalHardDrive(INT drive) { return DriveType(drive) == DRIVE_FIXED; }
BOOL STFAPI FIsRemoveDrive(INT drive) { return DriveType(drive) == DRIVE_REMOVABLE; }
BOOL STFAPI FIsRemoteDrive(INT drive) { return DriveType(drive) == DRIVE_REMOTE; }
LONG STFAPI LcbTotalDrive(INT drive) { return DriveBytes(drive, false, "LcbTotalDrive"); }
LONG STFAPI LcbFreeDrive(INT drive) { return DriveBytes(drive, true, "LcbFreeDrive"); }

BOOL STFAPI FGetValidDrivesList(LPCSTR symbol) {
  return FillDriveList(symbol, IsValidType, "FGetValidDrivesList");
}
BOOL STFAPI FGetLocalHardDrivesList(LPCSTR symbol) {
  return FillDriveList(
      symbol, [](UINT t) { return t == DRIVE_FIXED; }, "FGetLocalHardDrivesList");
}
BOOL STFAPI FGetRemovableDrivesList(LPCSTR symbol) {
  return FillDriveList(
      symbol, [](UINT t) { return t == DRIVE_REMOVABLE; }, "FGetRemovableDrivesList");
}
BOOL STFAPI FGetNetworkDrivesList(LPCSTR symbol) {
  return FillDriveList(
      symbol, [](UINT t) { return t == DRIVE_REMOTE; }, "FGetNetworkDrivesList");
}
BOOL STFAPI FGetParallelPortsList(LPCSTR symbol) {
  return FillPortList(symbol, "LPT", "FGetParallelPortsList");
}
BOOL STFAPI FGetSerialPortsList(LPCSTR symbol) {
  return FillPortList(symbol, "COM", "FGetSerialPortsList");
}

}  // extern "C"
