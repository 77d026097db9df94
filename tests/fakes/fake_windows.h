// A fake Windows machine for host tests: the state the program's Win32 calls
// read and change. Reset before each test (see process_state.h).
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace fake {

struct MessageBoxRecord {
  HWND owner;
  std::string text;
  std::string caption;
  UINT type;
};

struct Library {
  std::set<std::string> exports;
  std::map<std::string, FARPROC> implementations;  // exports with behaviour
  int loads = 0;                                    // LoadLibraryA minus FreeLibrary
  bool resident = false;  // mapped in every process, like KERNEL32.DLL: never loaded or freed
  uintptr_t handle = 0;
};

struct Service {
  DWORD type = 0;
  DWORD start = 0;
  DWORD errorControl = 0;
  std::string imagePath;
  std::string group;
  bool dependenciesGiven = false;  // a list pointer was passed (not NULL)
  std::string dependencies;
  DWORD state = SERVICE_STOPPED;
  bool stoppable = true;         // accepts the stop control when running
  bool markedForDelete = false;  // deleted while running: gone at the next boot
};

struct Machine {
  // Directories: an empty fail flag means the call works.
  std::string windowsDir = "C:\\WINNT";
  bool windowsDirFails = false;
  std::string systemDir = "C:\\WINNT\\SYSTEM32";
  bool systemDirFails = false;
  std::string currentDir = "D:\\";
  bool currentDirFails = false;
  std::string modulePath = "D:\\SETUP.EXE";  // GetModuleFileNameA of the program
  std::set<std::string> directories;          // existing directories, in capitals
  std::set<std::string> reparsePoints;        // links and junctions among them, in capitals

  UINT errorMode = 0;
  bool fileApisAnsi = true;                          // AreFileApisANSI
  std::map<unsigned char, unsigned char> oemToAnsi;  // bytes not listed map to themselves
  std::set<unsigned char> leadBytes;                 // DBCS lead bytes of the ANSI code page

  std::deque<MSG> messages;
  std::vector<MessageBoxRecord> boxes;
  std::map<HWND, std::string> windowTitles;

  std::map<std::string, Library> libraries;  // by upper-case name

  // Service control manager.
  bool managerOpenFails = false;
  std::map<std::string, Service> services;
  DWORD createServiceError = 0;  // non-zero: CreateServiceA fails with it
  bool openServiceFails = false;
  bool changeConfigFails = false;
  bool queryConfigFails = false;  // QueryServiceConfigA answers ERROR_ACCESS_DENIED
  int openServiceHandles = 0;  // open minus closed, manager included

  // Access token and shutdown.
  bool openTokenFails = false;
  bool lookupPrivilegeFails = false;
  bool adjustPrivilegesFails = false;
  bool holdsShutdownPrivilege = true;
  bool shutdownPrivilegeEnabled = false;
  std::vector<UINT> shutdownRequests;  // flags of every accepted ExitWindowsEx

  std::vector<std::string> bootDeletions;  // MoveFileExA(..., MOVEFILE_DELAY_UNTIL_REBOOT)
  SYSTEMTIME localTime = {2026, 12, 3, 9, 10, 30, 0, 0};
  DWORD tickCount = 1000;  // moved on by Sleep

  std::map<std::string, std::string> files;  // contents by upper-case path, for CreateFileA
  std::set<std::string> filesInUse;          // upper-case paths Windows holds open

  // WOW64 as the two KERNEL32.DLL entry points report it, when a test exports them.
  bool wow64 = false;
  WORD nativeMachine = 0x014C;

  DWORD version = 0x0A280004;  // GetVersion
  int screenWidth = 1024;
  int screenHeight = 768;
  std::string commandLine = "setup.exe";
  DWORD startupFlags = 0;
  WORD startupShow = 0;

  DWORD lastError = 0;
};

extern Machine machine;

void ResetMachine();
// Adds a library with the given exports (replacing one of the same name).
Library& AddLibrary(const std::string& name, const std::vector<std::string>& exports);
// KERNEL32.DLL of a 64-bit Windows: IsWow64Process, and IsWow64Process2 when
// `withMachines`, answering for a process under WOW64 on `native`.
void RunUnderWow64(WORD native, bool withMachines);
Library* FindLibrary(const std::string& name);
// A library the program imports: GetModuleHandleA finds it without a load.
Library& AddResidentLibrary(const std::string& name, const std::vector<std::string>& exports);
void AddFile(const std::string& path, const std::string& data = std::string());
// The uninstaller and its libraries in `dir` (ending in a backslash), as a disk has them.
void AddUninstallerFiles(const std::string& dir);
// Number of libraries currently loaded.
int LoadedLibraryCount();
void PostMessage(UINT message);

}  // namespace fake
