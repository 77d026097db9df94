// What the run-time start-up hands to the program's entry routine.
#include "platform/startup.h"

LPSTR CommandTail(LPSTR commandLine) {
  LPSTR p = commandLine;
  if (*p == '"') {
    ++p;
    while (*p != '\0' && *p != '"') ++p;
    if (*p == '"') ++p;
  } else {
    while (static_cast<unsigned char>(*p) > ' ') ++p;
  }
  while (*p != '\0' && static_cast<unsigned char>(*p) <= ' ') ++p;
  return p;
}

int StartupShowState(void) {
  STARTUPINFOA info;
  GetStartupInfoA(&info);
  return (info.dwFlags & STARTF_USESHOWWINDOW) ? info.wShowWindow : SW_SHOWDEFAULT;
}

DWORD LibrarySearchError = 0;

void RestrictLibrarySearch(void) {
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  if (kernel == nullptr) return;
  // Windows 8, and Windows 7 and Vista with their loader update.
  typedef BOOL(WINAPI * SetDefaultDirs)(DWORD);
  SetDefaultDirs setDefault = reinterpret_cast<SetDefaultDirs>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (setDefault != nullptr &&
      !setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32 | LOAD_LIBRARY_SEARCH_APPLICATION_DIR)) {
    LibrarySearchError = GetLastError();
  }
  // Windows XP SP1 on: an empty folder takes the current folder out.
  typedef BOOL(WINAPI * SetDllDir)(LPCSTR);
  SetDllDir setDir =
      reinterpret_cast<SetDllDir>(reinterpret_cast<void*>(GetProcAddress(kernel, "SetDllDirectoryA")));
  if (setDir != nullptr && !setDir("") && LibrarySearchError == 0) {
    LibrarySearchError = GetLastError();
  }
}

static char PendingLines[16][320];
static int PendingCount = 0;
static void (*StartupLog)(LPCSTR) = nullptr;

void NoteStartupLine(LPCSTR line) {
  if (StartupLog != nullptr) {
    StartupLog(line);
  } else if (PendingCount < 16) {
    char* kept = PendingLines[PendingCount++];
    int i = 0;
    for (; line[i] != '\0' && i + 1 < static_cast<int>(sizeof PendingLines[0]); ++i) kept[i] = line[i];
    kept[i] = '\0';
  }
}

void SetStartupLog(void (*log)(LPCSTR line)) {
  StartupLog = log;
  for (int i = 0; i < PendingCount && log != nullptr; ++i) log(PendingLines[i]);
  PendingCount = 0;
}
