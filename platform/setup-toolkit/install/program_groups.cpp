// Program Manager groups and items as the Start menu has them: a group is a
// folder under the Programs folder of the Start menu, an item a shortcut
// (.lnk, IShellLinkA) in it. The plain forms use the current user's Start menu
// (CSIDL_PROGRAMS), the Ex forms the one of all users (CSIDL_COMMON_PROGRAMS).
// The szPath argument named the group file of Program Manager, which the
// Start menu has no use for: it is accepted and ignored.
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdlib>
#include <string>

#include "dbcs_path.h"
#include "path_syntax.h"
#include "shortcut_command.h"
#include "platform/setup-toolkit/install/install_state.h"
#include "platform/setup-toolkit/common/system_calls.h"

namespace {

BOOL Fail(const std::string& what, DWORD error) {
  StfLogError(what.c_str(), error);
  SetLastError(error);
  return FALSE;
}

// A group name may hold subfolders ("Merlox\\Tools") but must stay under Programs.
bool IsSafeGroupName(LPCSTR group) {
  return group != nullptr && stf::IsSafeFolderPath(group, StfIsLeadByte);
}

// A Start menu folder, made when missing.
bool ProgramsFolder(int csidl, char* path) {
  if (!SysShellFolderPath(csidl, path)) return false;
  return CreateDirectoryA(path, nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

// The group's folder; false when the name is unsafe or the Start menu unknown.
bool GroupFolder(LPCSTR group, bool common, std::string* folder) {
  if (!IsSafeGroupName(group)) {
    Fail("program group name '" + std::string(group ? group : "") + "'", ERROR_INVALID_NAME);
    return false;
  }
  char programs[MAX_PATH];
  if (!ProgramsFolder(common ? CSIDL_COMMON_PROGRAMS : CSIDL_PROGRAMS, programs)) {
    Fail(common ? "SHGetSpecialFolderLocation (CSIDL_COMMON_PROGRAMS)"
                : "SHGetSpecialFolderLocation (CSIDL_PROGRAMS)",
         ERROR_PATH_NOT_FOUND);
    return false;
  }
  *folder = std::string(programs) + "\\" + group;
  return true;
}

bool IsDirectory(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

BOOL CreateGroup(LPCSTR group, bool common) {
  std::string folder;
  if (!GroupFolder(group, common, &folder)) return FALSE;
  if (IsDirectory(folder)) return TRUE;
  if (!FCreateDir(folder.c_str(), cmoNone)) return FALSE;
  SysSHChangeNotify(SHCNE_MKDIR, SHCNF_PATHA, folder.c_str(), nullptr);
  FWriteToLogFile(("Program group " + folder).c_str(), TRUE);
  return TRUE;
}

bool RunningUnderWine() {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

BOOL ShowGroup(LPCSTR group, LPCSTR command, bool common) {
  std::string folder;
  if (!GroupFolder(group, common, &folder)) return FALSE;
  if (!IsDirectory(folder)) return Fail("program group " + folder, ERROR_PATH_NOT_FOUND);
  int show = command ? std::atoi(command) : 0;
  // Quiet, headless or under Wine the window is not opened: the group exists.
  if (show == 0 || StfQuiet() || RunningUnderWine()) return TRUE;
  HINSTANCE result = SysShellExecuteA(nullptr, "open", folder.c_str(), nullptr, nullptr, show);
  if (reinterpret_cast<INT_PTR>(result) <= 32) {
    // The group is there; only its window could not be opened.
    StfLogError(("ShellExecuteA (open) " + folder).c_str(), GetLastError());
  }
  return TRUE;
}

std::wstring Wide(const std::string& text) {
  int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  std::wstring wide(n > 0 ? n : 1, L'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], n);
  wide.resize(wide.size() - 1);
  return wide;
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class ComApartment {
 public:
  ComApartment() : result_(SysCoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComApartment() {
    if (SUCCEEDED(result_)) SysCoUninitialize();
  }

 private:
  HRESULT result_;  // RPC_E_CHANGED_MODE: the thread's own apartment serves too
};

BOOL WriteShortcut(const std::string& link, const std::string& cmd, const std::string& icon) {
  std::string target, args;
  stf::SplitShortcutCommand(cmd, Exists, &target, &args);
  if (target.empty()) return Fail("program item " + link + ": no command", ERROR_INVALID_PARAMETER);
  ComApartment apartment;
  IShellLinkA* shell = nullptr;
  HRESULT hr = SysCoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&shell));
  if (FAILED(hr)) return Fail("CoCreateInstance (ShellLink)", static_cast<DWORD>(hr));
  shell->SetPath(target.c_str());
  if (!args.empty()) shell->SetArguments(args.c_str());
  const std::string workDir =
      stf::WithoutBackslash(stf::DirectoryOf(target, StfIsLeadByte), StfIsLeadByte);
  if (!workDir.empty()) shell->SetWorkingDirectory(workDir.c_str());
  if (!icon.empty()) shell->SetIconLocation(icon.c_str(), 0);
  IPersistFile* file = nullptr;
  hr = shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
  if (SUCCEEDED(hr)) {
    hr = file->Save(Wide(link).c_str(), TRUE);
    file->Release();
  }
  shell->Release();
  if (FAILED(hr)) return Fail("IPersistFile::Save " + link, static_cast<DWORD>(hr));
  SysSHChangeNotify(SHCNE_CREATE, SHCNF_PATHA, link.c_str(), nullptr);
  FWriteToLogFile(("Program item " + link + " -> " + cmd).c_str(), TRUE);
  return TRUE;
}

BOOL CreateItem(LPCSTR group, LPCSTR item, LPCSTR cmd, UINT cmo, bool common) {
  if (item == nullptr || item[0] == '\0' || cmd == nullptr) {
    return Fail("program item: no name or command", ERROR_INVALID_PARAMETER);
  }
  std::string folder;
  if (!GroupFolder(group, common, &folder)) return FALSE;
  if (!IsDirectory(folder)) return Fail("program group " + folder, ERROR_PATH_NOT_FOUND);
  std::string text = item, name = item, icon;
  size_t comma = text.find(',');
  if (comma != std::string::npos) {
    name = text.substr(0, comma);
    icon = text.substr(comma + 1);
  }
  if (name.empty() || name.find_first_of("\\/:*?\"<>|") != std::string::npos) {
    return Fail("program item name '" + name + "'", ERROR_INVALID_NAME);
  }
  std::string link = folder + "\\" + name + ".lnk";
  // Without cmoOverwrite an item of the same name stays as it is.
  if (!(cmo & cmoOverwrite) && GetFileAttributesA(link.c_str()) != INVALID_FILE_ATTRIBUTES) {
    return TRUE;
  }
  return WriteShortcut(link, cmd, icon);
}

}  // namespace

extern "C" {

BOOL STFAPI FCreateProgManGroup(LPCSTR group, LPCSTR, UINT) { return CreateGroup(group, false); }
BOOL STFAPI FCreateProgManGroupEx(LPCSTR group, LPCSTR, UINT) { return CreateGroup(group, true); }

BOOL STFAPI FShowProgManGroup(LPCSTR group, LPCSTR command, UINT) {
  return ShowGroup(group, command, false);
}
BOOL STFAPI FShowProgManGroupEx(LPCSTR group, LPCSTR, LPCSTR command, UINT) {
  return ShowGroup(group, command, true);
}

BOOL STFAPI FCreateProgManItem(LPCSTR group, LPCSTR item, LPCSTR cmd, UINT cmo) {
  return CreateItem(group, item, cmd, cmo, false);
}
BOOL STFAPI FCreateProgManItemEx(LPCSTR group, LPCSTR, LPCSTR item, LPCSTR cmd, UINT cmo) {
  return CreateItem(group, item, cmd, cmo, true);
}

}  // extern "C"
