// The directories behind the INF directory ids (%10%, %11%, ...), asked of
// the system: those of the machine once a process, the INF file's own at
// each open.
#include "dbcs_path.h"
#include "platform/setup-toolkit/common/common_state.h"
#include "platform/setup-toolkit/common/system_calls.h"

namespace {

std::string Directory(UINT (WINAPI* get)(LPSTR, UINT)) {
  char path[MAX_PATH + 1];
  const UINT length = get(path, sizeof path);
  return length > 0 && length < sizeof path ? std::string(path, length) : std::string();
}

// Read as UTF-16: Wine's ANSI form cuts double-byte values short.
std::string Environment(const wchar_t* name) {
  wchar_t wide[MAX_PATH + 1];
  const DWORD length = GetEnvironmentVariableW(name, wide, MAX_PATH + 1);
  if (length == 0 || length > MAX_PATH) return std::string();
  char path[2 * MAX_PATH + 2];
  const int bytes = WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(length), path,
                                        sizeof path, nullptr, nullptr);
  return bytes > 0 ? std::string(path, static_cast<std::size_t>(bytes)) : std::string();
}

// Each folder is asked once a process, and only when an INF file uses it:
// asking all of them took Wine half a second.
bool ShellFolder(int csidl, std::string* path) {
  static std::string known[stf::kInfShellFolderCount];
  static bool asked[stf::kInfShellFolderCount];
  if (csidl < 0 || csidl >= stf::kInfShellFolderCount) return false;
  if (!asked[csidl]) {
    asked[csidl] = true;
    char found[MAX_PATH];
    if (SysShellFolderPath(csidl, found)) known[csidl] = found;
  }
  *path = known[csidl];
  return !path->empty();
}

stf::InfSystemDirs MachineDirectories() {
  stf::InfSystemDirs dirs;
  dirs.windows = Directory(GetWindowsDirectoryA);
  dirs.system = Directory(GetSystemDirectoryA);
  dirs.systemRoot = stf::VolumeRootOf(dirs.windows, StfIsLeadByte);
  dirs.bootRoot = dirs.systemRoot;  // NT names its boot volume only as a device
  dirs.userProfile = Environment(L"USERPROFILE");
  dirs.driverArch = "w32x86";  // the spooler's name for the machine this build runs on
  dirs.shellFolder = ShellFolder;
  return dirs;
}

}  // namespace

stf::InfDirectoryIds InfDirectoriesFor(LPCSTR infFile) {
  static const stf::InfSystemDirs machine = MachineDirectories();
  stf::InfSystemDirs dirs = machine;
  char full[MAX_PATH];
  LPSTR name = nullptr;
  const DWORD length = GetFullPathNameA(infFile, sizeof full, full, &name);
  if (length > 0 && length < sizeof full) {
    dirs.infDirectory = stf::DirectoryOf(full, StfIsLeadByte);
  }
  return stf::MakeInfDirectoryIds(dirs);
}
