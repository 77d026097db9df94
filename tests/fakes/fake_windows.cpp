// The Win32 functions of the seam, over the fake machine's state.
#include "tests/fakes/fake_windows.h"

#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "tests/fakes/fake_registry.h"
#include "tests/fakes/transcript.h"

namespace fake {

Machine machine;
static uintptr_t nextLibraryHandle = 0x10000;

static INT_PTR WINAPI ExportWithoutBehaviour(void) { return 0; }

static std::string Upper(const char* text) {
  std::string out = text ? text : "";
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

Library& AddLibrary(const std::string& name, const std::vector<std::string>& exports) {
  Library& library = machine.libraries[Upper(name.c_str())];
  library = Library{};
  library.exports.insert(exports.begin(), exports.end());
  library.handle = nextLibraryHandle;
  nextLibraryHandle += 0x10000;
  return library;
}

Library& AddResidentLibrary(const std::string& name, const std::vector<std::string>& exports) {
  Library& library = AddLibrary(name, exports);
  library.resident = true;
  return library;
}

void AddFile(const std::string& path, const std::string& data) {
  machine.files[Upper(path.c_str())] = data;
}

Library* FindLibrary(const std::string& name) {
  auto it = machine.libraries.find(Upper(name.c_str()));
  return it == machine.libraries.end() ? nullptr : &it->second;
}

static Library* LibraryOf(HMODULE module) {
  for (auto& entry : machine.libraries) {
    if (entry.second.handle == reinterpret_cast<uintptr_t>(module)) return &entry.second;
  }
  return nullptr;
}

int LoadedLibraryCount() {
  int count = 0;
  for (auto& entry : machine.libraries) count += entry.second.loads;
  return count;
}

void PostMessage(UINT message) {
  MSG msg{};
  msg.message = message;
  machine.messages.push_back(msg);
}

static BOOL WINAPI FakeIsWow64Process(HANDLE, PBOOL wow64) {
  *wow64 = machine.wow64;
  return TRUE;
}

static BOOL WINAPI FakeIsWow64Process2(HANDLE, USHORT* process, USHORT* native) {
  *process = machine.wow64 ? 0x014C : 0;
  *native = machine.nativeMachine;
  return TRUE;
}

void RunUnderWow64(WORD native, bool withMachines) {
  machine.wow64 = true;
  machine.nativeMachine = native;
  Library& kernel = *FindLibrary("KERNEL32.DLL");
  kernel.exports.insert("IsWow64Process");
  kernel.implementations["IsWow64Process"] =
      reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&FakeIsWow64Process));
  if (!withMachines) return;
  kernel.exports.insert("IsWow64Process2");
  kernel.implementations["IsWow64Process2"] =
      reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&FakeIsWow64Process2));
}

void AddUninstallerFiles(const std::string& dir) {
  for (const char* name : {"uninstall.exe", "MSSHLSTF.dll", "MSCOMSTF.dll", "MSINSSTF.dll",
                           "MSUILSTF.dll", "MSDETSTF.dll", "mscuistf.dll"}) {
    AddFile(dir + name, name);  // each its own bytes
  }
}

// The toolkit's check of a disk file, looked up by name: every file passes
// unless a test puts its own in place.
static BOOL WINAPI AcceptDiskFile(LPCSTR) { return TRUE; }

void ResetMachine() {
  machine = Machine{};
  nextLibraryHandle = 0x10000;
  Library& advapi32 = AddLibrary(
      "ADVAPI32.DLL",
      {"RegCloseKey", "RegCreateKeyA", "RegDeleteKeyA", "RegOpenKeyA", "RegQueryValueA",
       "RegSetValueA", "RegCreateKeyExA", "RegOpenKeyExA", "RegQueryValueExA",
       "RegSetValueExA", "RegEnumKeyA", "RegQueryInfoKeyA", "RegEnumValueA",
       "RegDeleteValueA"});
  ResetRegistry(advapi32);
  AddUninstallerFiles("D:\\");  // beside the program, D:\SETUP.EXE
  // Windows NT 4.0's: nothing of WOW64.
  AddLibrary("KERNEL32.DLL", {}).resident = true;
  AddResidentLibrary("MSCOMSTF.dll", {"StfCheckDiskFile"}).implementations["StfCheckDiskFile"] =
      reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&AcceptDiskFile));
}

// A directory query in the system's manner: the length without terminator
// when it fits, else the size needed with the terminator, 0 on failure.
static UINT CopyDirectory(const std::string& dir, bool fails, LPSTR buffer, UINT size) {
  if (fails) return 0;
  if (dir.size() + 1 > size) return static_cast<UINT>(dir.size() + 1);
  std::memcpy(buffer, dir.c_str(), dir.size() + 1);
  return static_cast<UINT>(dir.size());
}

}  // namespace fake

using fake::machine;
using fake::Record;

extern "C" {

// ---- KERNEL32 ----

UINT WINAPI GetWindowsDirectoryA(LPSTR buffer, UINT size) {
  Record("GetWindowsDirectoryA", size);
  return fake::CopyDirectory(machine.windowsDir, machine.windowsDirFails, buffer, size);
}

UINT WINAPI GetSystemDirectoryA(LPSTR buffer, UINT size) {
  Record("GetSystemDirectoryA", size);
  return fake::CopyDirectory(machine.systemDir, machine.systemDirFails, buffer, size);
}

// The fake machine keeps no INI files: every key answers its default.
DWORD WINAPI GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR fallback, LPSTR buffer,
                                      DWORD size, LPCSTR file) {
  Record("GetPrivateProfileStringA", section, key, file);
  if (size == 0) return 0;
  const std::string text = std::string(fallback ? fallback : "").substr(0, size - 1);
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return static_cast<DWORD>(text.size());
}

DWORD WINAPI GetCurrentDirectoryA(DWORD size, LPSTR buffer) {
  Record("GetCurrentDirectoryA", size);
  return fake::CopyDirectory(machine.currentDir, machine.currentDirFails, buffer, size);
}

UINT WINAPI SetErrorMode(UINT mode) {
  Record("SetErrorMode", mode);
  UINT old = machine.errorMode;
  machine.errorMode = mode;
  return old;
}

HMODULE WINAPI LoadLibraryA(LPCSTR name) {
  Record("LoadLibraryA", name);
  fake::Library* library = fake::FindLibrary(name ? name : "");
  if (library == nullptr) {
    machine.lastError = 126;  // ERROR_MOD_NOT_FOUND
    return nullptr;
  }
  ++library->loads;
  return reinterpret_cast<HMODULE>(library->handle);
}

FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR name) {
  Record("GetProcAddress", module, name);
  fake::Library* library = fake::LibraryOf(module);
  if (library == nullptr || (library->loads == 0 && !library->resident) ||
      !library->exports.count(name)) {
    machine.lastError = 127;  // ERROR_PROC_NOT_FOUND
    return nullptr;
  }
  auto impl = library->implementations.find(name);
  return impl != library->implementations.end() ? impl->second : &fake::ExportWithoutBehaviour;
}

BOOL WINAPI FreeLibrary(HMODULE module) {
  Record("FreeLibrary", module);
  fake::Library* library = fake::LibraryOf(module);
  if (library == nullptr || library->loads == 0) return FALSE;
  --library->loads;
  return TRUE;
}

HMODULE WINAPI GetModuleHandleA(LPCSTR name) {
  if (name == nullptr) return reinterpret_cast<HMODULE>(0x400000);
  fake::Library* library = fake::FindLibrary(name);
  if (library == nullptr || (library->loads == 0 && !library->resident)) {
    machine.lastError = 126;  // ERROR_MOD_NOT_FOUND
    return nullptr;
  }
  return reinterpret_cast<HMODULE>(library->handle);
}

// Truncates as Windows XP does: nSize - 1 characters, a terminator, nSize.
DWORD WINAPI GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size) {
  Record("GetModuleFileNameA", module, size);
  const std::string& path = machine.modulePath;
  if (size == 0) return 0;
  DWORD copied = path.size() < size ? static_cast<DWORD>(path.size()) : size - 1;
  std::memcpy(buffer, path.c_str(), copied);
  buffer[copied] = '\0';
  if (path.size() >= size) machine.lastError = 122;  // ERROR_INSUFFICIENT_BUFFER
  return path.size() < size ? copied : size;
}

DWORD WINAPI GetFileAttributesA(LPCSTR path) {
  Record("GetFileAttributesA", path);
  const std::string key = fake::Upper(path);
  if (machine.files.count(key)) return FILE_ATTRIBUTE_NORMAL;
  if (machine.directories.count(key)) {
    return FILE_ATTRIBUTE_DIRECTORY |
           (machine.reparsePoints.count(key) ? FILE_ATTRIBUTE_REPARSE_POINT : 0);
  }
  machine.lastError = ERROR_FILE_NOT_FOUND;
  return INVALID_FILE_ATTRIBUTES;
}

BOOL WINAPI AreFileApisANSI(void) { return machine.fileApisAnsi; }

BOOL WINAPI RemoveDirectoryA(LPCSTR path) {
  Record("RemoveDirectoryA", path);
  const std::string dir = fake::Upper(path) + "\\";
  if (!machine.directories.count(fake::Upper(path))) {
    machine.lastError = ERROR_FILE_NOT_FOUND;
    return FALSE;
  }
  for (const auto& file : machine.files) {
    if (file.first.rfind(dir, 0) == 0) {
      machine.lastError = 145;  // ERROR_DIR_NOT_EMPTY
      return FALSE;
    }
  }
  machine.directories.erase(fake::Upper(path));
  return TRUE;
}

BOOL WINAPI MoveFileExA(LPCSTR from, LPCSTR to, DWORD flags) {
  Record("MoveFileExA", from, to, flags);
  if (flags & MOVEFILE_DELAY_UNTIL_REBOOT) {
    machine.bootDeletions.push_back(from);
    return TRUE;
  }
  machine.lastError = ERROR_ACCESS_DENIED;
  return FALSE;
}

void WINAPI GetLocalTime(LPSYSTEMTIME time) { *time = machine.localTime; }
DWORD WINAPI GetTickCount(void) { return machine.tickCount; }
void WINAPI Sleep(DWORD ms) { machine.tickCount += ms; }

// ---- KERNEL32: files, read whole from `machine.files` ----

namespace fake {
struct OpenFile {
  std::string data;
  size_t position = 0;
};
static std::map<uintptr_t, OpenFile> openFiles;
static uintptr_t nextFileHandle = 0xF11E0;
}  // namespace fake

HANDLE WINAPI CreateFileA(LPCSTR name, DWORD access, DWORD share, LPVOID, DWORD disposition,
                          DWORD flags, HANDLE) {
  Record("CreateFileA", name, access, share, disposition, flags);
  auto file = machine.files.find(fake::Upper(name));
  if (file == machine.files.end() || disposition != OPEN_EXISTING) {
    machine.lastError = ERROR_FILE_NOT_FOUND;
    return INVALID_HANDLE_VALUE;
  }
  uintptr_t handle = fake::nextFileHandle++;
  fake::openFiles[handle] = fake::OpenFile{file->second, 0};
  return reinterpret_cast<HANDLE>(handle);
}

BOOL WINAPI ReadFile(HANDLE handle, LPVOID buffer, DWORD size, LPDWORD read, LPVOID) {
  auto file = fake::openFiles.find(reinterpret_cast<uintptr_t>(handle));
  if (file == fake::openFiles.end()) return FALSE;
  fake::OpenFile& open = file->second;
  size_t count = std::min<size_t>(size, open.data.size() - open.position);
  std::memcpy(buffer, open.data.data() + open.position, count);
  open.position += count;
  *read = static_cast<DWORD>(count);
  return TRUE;
}

BOOL WINAPI CloseHandle(HANDLE handle) {
  return fake::openFiles.erase(reinterpret_cast<uintptr_t>(handle)) ? TRUE : FALSE;
}

LPSTR WINAPI GetCommandLineA(void) {
  return &machine.commandLine[0];
}

void WINAPI GetStartupInfoA(LPSTARTUPINFOA info) {
  std::memset(info, 0, sizeof *info);
  info->cb = sizeof *info;
  info->dwFlags = machine.startupFlags;
  info->wShowWindow = machine.startupShow;
}

DWORD WINAPI GetVersion(void) { return machine.version; }
DWORD WINAPI GetLastError(void) { return machine.lastError; }
void WINAPI SetLastError(DWORD code) { machine.lastError = code; }
HANDLE WINAPI GetCurrentProcess(void) { return reinterpret_cast<HANDLE>(-1); }

LPSTR WINAPI lstrcpyA(LPSTR to, LPCSTR from) { return std::strcpy(to, from); }
LPSTR WINAPI lstrcatA(LPSTR to, LPCSTR from) { return std::strcat(to, from); }
int WINAPI lstrlenA(LPCSTR text) { return text ? static_cast<int>(std::strlen(text)) : 0; }

int WINAPI lstrcmpiA(LPCSTR a, LPCSTR b) {
  for (;; ++a, ++b) {
    int ca = std::tolower(static_cast<unsigned char>(*a));
    int cb = std::tolower(static_cast<unsigned char>(*b));
    if (ca != cb) return ca < cb ? -1 : 1;
    if (ca == 0) return 0;
  }
}

// No system texts on the host: callers fall back to the bare code.
DWORD WINAPI FormatMessageA(DWORD, LPCVOID, DWORD, DWORD, LPSTR buffer, DWORD size, void*) {
  if (size > 0) buffer[0] = '\0';
  machine.lastError = 317;  // ERROR_MR_MID_NOT_FOUND
  return 0;
}

// ---- USER32 ----

BOOL WINAPI PeekMessageA(LPMSG msg, HWND, UINT, UINT, UINT remove) {
  if (machine.messages.empty()) return FALSE;
  *msg = machine.messages.front();
  if (remove & PM_REMOVE) machine.messages.pop_front();
  Record("PeekMessageA", msg->message);
  return TRUE;
}

BOOL WINAPI TranslateMessage(const MSG* msg) {
  Record("TranslateMessage", msg->message);
  return FALSE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
  Record("DispatchMessageA", msg->message);
  return 0;
}

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  Record("MessageBoxA", owner, text, caption, type);
  machine.boxes.push_back({owner, text ? text : "", caption ? caption : "", type});
  return 1;  // IDOK
}

BOOL WINAPI SetWindowTextA(HWND window, LPCSTR text) {
  Record("SetWindowTextA", window, text);
  if (window == nullptr) return FALSE;
  machine.windowTitles[window] = text ? text : "";
  return TRUE;
}

BOOL WINAPI OemToCharA(LPCSTR from, LPSTR to) {
  for (;; ++from, ++to) {
    unsigned char c = static_cast<unsigned char>(*from);
    auto mapped = machine.oemToAnsi.find(c);
    *to = static_cast<char>(mapped == machine.oemToAnsi.end() ? c : mapped->second);
    if (c == 0) return TRUE;
  }
}

LPSTR WINAPI CharNextA(LPCSTR text) {
  if (*text == '\0') return const_cast<LPSTR>(text);
  if (machine.leadBytes.count(static_cast<unsigned char>(*text)) && text[1] != '\0') {
    return const_cast<LPSTR>(text + 2);
  }
  return const_cast<LPSTR>(text + 1);
}

BOOL WINAPI IsDBCSLeadByte(BYTE byte) { return machine.leadBytes.count(byte) ? TRUE : FALSE; }

LPSTR WINAPI CharUpperA(LPSTR text) {
  for (LPSTR p = text; *p; p = CharNextA(p)) {
    *p = static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
  }
  return text;
}

DWORD WINAPI CharUpperBuffA(LPSTR text, DWORD length) {
  for (DWORD i = 0; i < length; ++i) {
    text[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[i])));
  }
  return length;
}

int WINAPI GetSystemMetrics(int index) {
  if (index == SM_CXSCREEN) return machine.screenWidth;
  if (index == SM_CYSCREEN) return machine.screenHeight;
  return 0;
}

int wsprintfA(LPSTR out, LPCSTR format, ...) {
  va_list args;
  va_start(args, format);
  int length = std::vsnprintf(out, 1025, format, args);  // the system's limit is 1024
  va_end(args);
  return length;
}

BOOL WINAPI ExitWindowsEx(UINT flags, DWORD reason) {
  Record("ExitWindowsEx", flags, reason);
  if (!machine.shutdownPrivilegeEnabled) {
    machine.lastError = 1314;  // ERROR_PRIVILEGE_NOT_HELD
    return FALSE;
  }
  machine.shutdownRequests.push_back(flags);
  return TRUE;
}

// ---- ADVAPI32: services ----

static SC_HANDLE const kManagerHandle = reinterpret_cast<SC_HANDLE>(0x5C00);
static SC_HANDLE const kServiceHandle = reinterpret_cast<SC_HANDLE>(0x5E00);
static std::string openServiceName;

SC_HANDLE WINAPI OpenSCManagerA(LPCSTR machineName, LPCSTR database, DWORD access) {
  Record("OpenSCManagerA", machineName, database, access);
  if (machine.managerOpenFails) {
    machine.lastError = ERROR_ACCESS_DENIED;
    return nullptr;
  }
  ++machine.openServiceHandles;
  return kManagerHandle;
}

SC_HANDLE WINAPI CreateServiceA(SC_HANDLE manager, LPCSTR name, LPCSTR display, DWORD access,
                                DWORD type, DWORD start, DWORD errorControl, LPCSTR image,
                                LPCSTR group, LPDWORD tag, LPCSTR dependencies, LPCSTR account,
                                LPCSTR password) {
  Record("CreateServiceA", manager, name, display, access, type, start, errorControl, image,
         group, tag, dependencies, account, password);
  if (machine.createServiceError != 0) {
    machine.lastError = machine.createServiceError;
    return nullptr;
  }
  if (machine.services.count(name)) {
    machine.lastError = ERROR_SERVICE_EXISTS;
    return nullptr;
  }
  fake::Service& service = machine.services[name];
  service.type = type;
  service.start = start;
  service.errorControl = errorControl;
  service.imagePath = image ? image : "";
  service.group = group ? group : "";
  service.dependenciesGiven = dependencies != nullptr;
  service.dependencies = dependencies ? dependencies : "";
  openServiceName = name;
  ++machine.openServiceHandles;
  return kServiceHandle;
}

SC_HANDLE WINAPI OpenServiceA(SC_HANDLE manager, LPCSTR name, DWORD access) {
  Record("OpenServiceA", manager, name, access);
  if (machine.openServiceFails || !machine.services.count(name)) {
    machine.lastError = machine.openServiceFails ? ERROR_ACCESS_DENIED : 1060;
    return nullptr;
  }
  openServiceName = name;
  ++machine.openServiceHandles;
  return kServiceHandle;
}

BOOL WINAPI ChangeServiceConfigA(SC_HANDLE service, DWORD type, DWORD start, DWORD errorControl,
                                 LPCSTR image, LPCSTR group, LPDWORD tag, LPCSTR dependencies,
                                 LPCSTR account, LPCSTR password, LPCSTR display) {
  Record("ChangeServiceConfigA", service, type, start, errorControl, image, group, tag,
         dependencies, account, password, display);
  if (machine.changeConfigFails || service != kServiceHandle) {
    machine.lastError = ERROR_ACCESS_DENIED;
    return FALSE;
  }
  fake::Service& s = machine.services[openServiceName];
  if (s.markedForDelete) {
    machine.lastError = ERROR_SERVICE_MARKED_FOR_DELETE;
    return FALSE;
  }
  if (type != SERVICE_NO_CHANGE) s.type = type;
  if (start != SERVICE_NO_CHANGE) s.start = start;
  if (errorControl != SERVICE_NO_CHANGE) s.errorControl = errorControl;
  if (image) s.imagePath = image;
  if (group) s.group = group;
  return TRUE;
}

static fake::Service* OpenedService(SC_HANDLE handle) {
  if (handle != kServiceHandle || !machine.services.count(openServiceName)) {
    machine.lastError = 6;  // ERROR_INVALID_HANDLE
    return nullptr;
  }
  return &machine.services[openServiceName];
}

BOOL WINAPI ControlService(SC_HANDLE handle, DWORD control, LPSERVICE_STATUS status) {
  Record("ControlService", handle, control);
  fake::Service* service = OpenedService(handle);
  if (service == nullptr) return FALSE;
  if (service->state != SERVICE_RUNNING) {
    machine.lastError = ERROR_SERVICE_NOT_ACTIVE;
    return FALSE;
  }
  if (control != SERVICE_CONTROL_STOP || !service->stoppable) {
    machine.lastError = 1052;  // ERROR_INVALID_SERVICE_CONTROL
    return FALSE;
  }
  service->state = SERVICE_STOPPED;
  *status = SERVICE_STATUS{};
  status->dwCurrentState = service->state;
  return TRUE;
}

BOOL WINAPI QueryServiceStatus(SC_HANDLE handle, LPSERVICE_STATUS status) {
  Record("QueryServiceStatus", handle);
  fake::Service* service = OpenedService(handle);
  if (service == nullptr) return FALSE;
  *status = SERVICE_STATUS{};
  status->dwCurrentState = service->state;
  return TRUE;
}

BOOL WINAPI DeleteService(SC_HANDLE handle) {
  Record("DeleteService", handle);
  fake::Service* service = OpenedService(handle);
  if (service == nullptr) return FALSE;
  if (service->markedForDelete) {
    machine.lastError = ERROR_SERVICE_MARKED_FOR_DELETE;
    return FALSE;
  }
  if (service->state == SERVICE_STOPPED) {
    machine.services.erase(openServiceName);
  } else {
    service->markedForDelete = true;
  }
  return TRUE;
}

BOOL WINAPI QueryServiceConfigA(SC_HANDLE service, LPQUERY_SERVICE_CONFIGA config, DWORD size,
                                LPDWORD needed) {
  Record("QueryServiceConfigA", service, size);
  if (service != kServiceHandle || !machine.services.count(openServiceName)) {
    machine.lastError = 6;  // ERROR_INVALID_HANDLE
    return FALSE;
  }
  if (machine.queryConfigFails) {
    machine.lastError = ERROR_ACCESS_DENIED;
    return FALSE;
  }
  static fake::Service answer;  // the strings must outlive the call
  answer = machine.services[openServiceName];
  *needed = sizeof *config;
  *config = QUERY_SERVICE_CONFIGA{};
  config->dwServiceType = answer.type;
  config->dwStartType = answer.start;
  config->dwErrorControl = answer.errorControl;
  config->lpBinaryPathName = &answer.imagePath[0];
  config->lpLoadOrderGroup = &answer.group[0];
  return TRUE;
}

BOOL WINAPI CloseServiceHandle(SC_HANDLE handle) {
  Record("CloseServiceHandle", handle);
  --machine.openServiceHandles;
  return TRUE;
}

// ---- ADVAPI32: tokens ----

static HANDLE const kTokenHandle = reinterpret_cast<HANDLE>(0x70C);
static const LUID kShutdownLuid = {19, 0};

BOOL WINAPI OpenProcessToken(HANDLE process, DWORD access, PHANDLE token) {
  Record("OpenProcessToken", process, access);
  if (machine.openTokenFails) return FALSE;
  *token = kTokenHandle;
  return TRUE;
}

BOOL WINAPI LookupPrivilegeValueA(LPCSTR system, LPCSTR name, PLUID luid) {
  Record("LookupPrivilegeValueA", system, name);
  if (machine.lookupPrivilegeFails) return FALSE;
  *luid = kShutdownLuid;
  return TRUE;
}

BOOL WINAPI AdjustTokenPrivileges(HANDLE token, BOOL disableAll, PTOKEN_PRIVILEGES state,
                                  DWORD length, PTOKEN_PRIVILEGES previous, LPDWORD needed) {
  Record("AdjustTokenPrivileges", token, disableAll, state ? state->PrivilegeCount : 0,
         state ? state->Privileges[0].Luid.LowPart : 0,
         state ? state->Privileges[0].Attributes : 0, length, previous, needed);
  if (machine.adjustPrivilegesFails) return FALSE;
  // Like the system: success even when the privilege is not held.
  bool shutdown = state && state->PrivilegeCount == 1 &&
                  state->Privileges[0].Luid.LowPart == kShutdownLuid.LowPart &&
                  (state->Privileges[0].Attributes & SE_PRIVILEGE_ENABLED);
  if (shutdown && machine.holdsShutdownPrivilege) machine.shutdownPrivilegeEnabled = true;
  machine.lastError = machine.holdsShutdownPrivilege ? 0 : ERROR_NOT_ALL_ASSIGNED;
  return TRUE;
}

}  // extern "C"
