// Files: existence, size, date, version resource, and searches along an
// environment variable's directories or through a directory tree.
#include <string>
#include <vector>

#include "detect_util.h"
#include "platform/setup-toolkit/common/system_calls.h"
#include "path_lists.h"
#include "version_fields.h"

namespace {

// Deeper trees are not searched: a bound against loops and runaway searches.
constexpr int kMaxTreeDepth = 32;

bool IsPlainFile(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

// A name to look for: no directory part, no wildcard.
bool IsBareName(LPCSTR name) { return name != nullptr && stf::IsBareName(name, StfIsLeadByte); }

// Version resources of files that have none answer with one of these.
bool MeansNoVersion(DWORD code) {
  return code == ERROR_RESOURCE_DATA_NOT_FOUND || code == ERROR_RESOURCE_TYPE_NOT_FOUND ||
         code == ERROR_RESOURCE_NAME_NOT_FOUND || code == ERROR_RESOURCE_LANG_NOT_FOUND ||
         code == ERROR_BAD_EXE_FORMAT || code == ERROR_SUCCESS;
}

std::string FileVersion(LPCSTR file) {
  DWORD handle = 0;
  DWORD size = SysGetFileVersionInfoSizeA(file, &handle);
  if (size == 0) {
    DWORD code = GetLastError();
    if (!MeansNoVersion(code)) {
      detect::LogFailure("CbGetVersionOfFile", file, "GetFileVersionInfoSizeA failed", code);
    }
    return "";
  }
  std::vector<char> data(size);
  if (!SysGetFileVersionInfoA(file, 0, size, data.data())) {
    detect::LogFailure("CbGetVersionOfFile", file, "GetFileVersionInfoA failed", GetLastError());
    return "";
  }
  VS_FIXEDFILEINFO* info = nullptr;
  UINT infoSize = 0;
  char root[] = "\\";
  if (!SysVerQueryValueA(data.data(), root, reinterpret_cast<void**>(&info), &infoSize) ||
      info == nullptr || infoSize < sizeof(VS_FIXEDFILEINFO) || info->dwSignature != 0xFEEF04BD) {
    return "";  // string tables only, no fixed part: no version we can compare
  }
  char text[64];
  wsprintfA(text, "%u.%u.%u.%u", HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS),
            HIWORD(info->dwFileVersionLS), LOWORD(info->dwFileVersionLS));
  return text;
}

// Depth first: the directory itself, then each subdirectory in the order the
// file system lists them. Reparse points are not entered (junction loops).
bool FindInTree(const std::string& dir, const std::string& name, int depth, std::string* found) {
  std::string candidate = stf::JoinPath(dir, name, StfIsLeadByte);
  if (candidate.size() < MAX_PATH && IsPlainFile(candidate)) {
    *found = candidate;
    return true;
  }
  if (depth >= kMaxTreeDepth) return false;
  std::string pattern = stf::JoinPath(dir, "*", StfIsLeadByte);
  if (pattern.size() >= MAX_PATH) return false;
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA(pattern.c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) {
    DWORD code = GetLastError();
    if (code != ERROR_FILE_NOT_FOUND && code != ERROR_NO_MORE_FILES) {
      detect::LogFailure("CbFindFileInTree", dir.c_str(), "FindFirstFileA failed", code);
    }
    return false;
  }
  bool hit = false;
  do {
    bool isDir = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    bool isLink = (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    if (!isDir || isLink || lstrcmpA(entry.cFileName, ".") == 0 ||
        lstrcmpA(entry.cFileName, "..") == 0) {
      continue;
    }
    hit = FindInTree(stf::JoinPath(dir, entry.cFileName, StfIsLeadByte), name, depth + 1,
                     found);
  } while (!hit && FindNextFileA(search, &entry));
  FindClose(search);
  return hit;
}

}  // namespace

extern "C" {

BOOL STFAPI FDoesFileExist(LPCSTR file, INT mode) {
  if (file == nullptr || !IsPlainFile(file)) return FALSE;
  if (mode == 0) return TRUE;
  if (mode != 1) {
    detect::LogFailure("FDoesFileExist", file, "unknown mode (0: exists, 1: writable)", 0);
    return FALSE;
  }
  // Opening for writing sees what the read-only flag does not: access rights
  // and a file another process holds. Nothing is written.
  HANDLE h =
      CreateFileA(file, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return FALSE;
  CloseHandle(h);
  return TRUE;
}

BOOL STFAPI FDirExists(LPCSTR dir) {
  if (dir == nullptr || dir[0] == '\0') return FALSE;
  DWORD a = GetFileAttributesA(dir);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

LONG STFAPI LcbGetSizeOfFile(LPCSTR file) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (file == nullptr || !GetFileAttributesExA(file, GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return -1;
  }
  if (data.nFileSizeHigh != 0 || data.nFileSizeLow > 0x7FFFFFFF) return 0x7FFFFFFF;
  return static_cast<LONG>(data.nFileSizeLow);
}

LONG STFAPI LGetVersionNthField(LPCSTR version, INT field) {
  return static_cast<LONG>(stf::VersionNthField(version ? version : "", field));
}

INT STFAPI CbGetVersionOfFile(LPCSTR file, LPSTR buffer, INT size) {
  return detect::CopyText(file != nullptr ? FileVersion(file) : "", buffer, size);
}

INT STFAPI CbGetDateOfFile(LPCSTR file, LPSTR buffer, INT size) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  FILETIME local;
  SYSTEMTIME t;
  if (file == nullptr || !GetFileAttributesExA(file, GetFileExInfoStandard, &data)) {
    detect::LogFailure("CbGetDateOfFile", file, "GetFileAttributesExA failed", GetLastError());
    return detect::CopyText("", buffer, size);
  }
  if (!FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) ||
      !FileTimeToSystemTime(&local, &t)) {
    detect::LogFailure("CbGetDateOfFile", file, "FileTimeToSystemTime failed", GetLastError());
    return detect::CopyText("", buffer, size);
  }
  char text[32];
  wsprintfA(text, "%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
            t.wSecond);
  return detect::CopyText(text, buffer, size);
}

INT STFAPI CbFindTargetOnEnvVar(LPCSTR file, LPCSTR var, LPSTR buffer, INT size) {
  if (!IsBareName(file) || var == nullptr) return detect::CopyText("", buffer, size);
  std::string dirs;
  if (!detect::EnvironmentValue(var, &dirs)) return detect::CopyText("", buffer, size);
  for (const std::string& dir : stf::SplitSearchPath(dirs)) {
    std::string path = stf::JoinPath(dir, file, StfIsLeadByte);
    if (path.size() < MAX_PATH && IsPlainFile(path)) return detect::CopyText(path, buffer, size);
  }
  return detect::CopyText("", buffer, size);
}

INT STFAPI CbFindFileInTree(LPCSTR file, LPCSTR dir, LPSTR buffer, INT size) {
  if (!IsBareName(file) || dir == nullptr || dir[0] == '\0') {
    detect::LogFailure("CbFindFileInTree", file, "a bare file name and a directory are needed", 0);
    return detect::CopyText("", buffer, size);
  }
  std::string found;
  if (!FDirExists(dir) || !FindInTree(dir, file, 0, &found)) found.clear();
  return detect::CopyText(found, buffer, size);
}

}  // extern "C"
