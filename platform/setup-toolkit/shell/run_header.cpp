#include "platform/setup-toolkit/shell/run_header.h"

#include "dbcs_path.h"
#include "platform/setup-toolkit/stf_internal.h"
#include "platform/setup-toolkit/common/system_calls.h"

namespace {

void Log(const std::string& line) { FWriteToLogFile(line.c_str(), TRUE); }

// The program's version resource; empty when it has none. Read once: the
// title, the log's header and the event source each ask for it.
std::string VersionResource() {
  static bool read = false;
  static std::string info;
  if (read) return info;
  read = true;
  const std::string path = ProgramPath();
  DWORD ignored = 0;
  DWORD size = path.empty() ? 0 : SysGetFileVersionInfoSizeA(path.c_str(), &ignored);
  info.assign(size, '\0');
  if (size == 0 || !SysGetFileVersionInfoA(path.c_str(), 0, size, &info[0])) info.clear();
  return info;
}

// "a.b.c.d" from the fixed part of a version resource.
std::string FileVersion(std::string& info) {
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (info.empty() || !SysVerQueryValueA(&info[0], "\\", reinterpret_cast<LPVOID*>(&fixed), &length) ||
      fixed == nullptr) {
    return std::string();
  }
  char version[64];
  wsprintfA(version, "%u.%u.%u.%u", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
            HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS));
  return version;
}

std::string WindowsVersion() {
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof info;
  if (!GetVersionExA(&info)) return "unknown (GetVersionExA failed)";
  char text[256];
  wsprintfA(text, "%lu.%lu build %lu%s%s", info.dwMajorVersion, info.dwMinorVersion,
            info.dwBuildNumber & 0xFFFF, info.szCSDVersion[0] ? " " : "", info.szCSDVersion);
  return text;
}

std::string UserAndRights() {
  char user[257] = "";
  DWORD size = sizeof user;
  std::string text = GetUserNameA(user, &size) ? user : "unknown";
  HANDLE token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
    return text + " (rights unknown: OpenProcessToken failed)";
  }
  text += StfIsAdministrator() ? ", administrator" : ", not an administrator";
  // TokenElevation (20) exists from Windows Vista on; before it there is no UAC.
  DWORD elevated = 0;
  if (GetTokenInformation(token, static_cast<TOKEN_INFORMATION_CLASS>(20), &elevated,
                          sizeof elevated, &size)) {
    text += elevated ? ", elevated" : ", not elevated";
  }
  CloseHandle(token);
  return text;
}

}  // namespace

std::string ProgramDescription() {
  std::string info = VersionResource();
  struct Translation {
    WORD language, codePage;
  }* translation = nullptr;
  UINT length = 0;
  if (!info.empty() &&
      SysVerQueryValueA(&info[0], "\\VarFileInfo\\Translation", reinterpret_cast<LPVOID*>(&translation),
                     &length) &&
      length >= sizeof *translation) {
    char key[64];
    wsprintfA(key, "\\StringFileInfo\\%04x%04x\\FileDescription", translation->language,
              translation->codePage);
    LPSTR description = nullptr;
    if (SysVerQueryValueA(&info[0], key, reinterpret_cast<LPVOID*>(&description), &length) &&
        length > 0) {
      return description;
    }
  }
  const std::string name = ProgramName();
  return name.empty() ? std::string("Setup") : name;
}

std::string ProgramVersion() {
  std::string info = VersionResource();
  return FileVersion(info);
}

std::string ProgramPath() {
  char path[MAX_PATH + 1];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return (n == 0 || n >= MAX_PATH) ? std::string() : std::string(path, n);
}

std::string ProgramDirectory() {
  return stf::DirectoryOf(ProgramPath(), StfIsLeadByte);
}

std::string ProgramName() {
  std::string name = stf::FileNameOf(ProgramPath(), StfIsLeadByte);
  name = name.substr(0, name.rfind('.'));
  return name.empty() ? std::string("SETUP") : stf::ToUpperAscii(name);
}

void WriteRunHeader(LPCSTR cmdLine) {
  std::string info = VersionResource();
  const std::string version = FileVersion(info);
  Log("===== " + ProgramDescription() + (version.empty() ? "" : " " + version) + " =====");
  Log("Windows: " + WindowsVersion());
  char pages[96];
  wsprintfA(pages, "Code pages: ANSI %u, OEM %u; file names in %s", GetACP(), GetOEMCP(),
            AreFileApisANSI() ? "ANSI" : "OEM");
  Log(pages);
  Log("User: " + UserAndRights());
  Log("Command line: " + std::string(cmdLine ? cmdLine : ""));
  char current[MAX_PATH + 1] = "";
  DWORD n = GetCurrentDirectoryA(sizeof current, current);
  Log("Current directory: " + std::string(n > 0 && n < sizeof current ? current : "(cannot be read)"));
  Log("Program directory: " + ProgramDirectory());
}
