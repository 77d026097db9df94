// Start to first dialog: starts a program, waits until one of its dialog
// windows (class #32770) is visible, prints the seconds that took and ends
// the program. Usage: first_dialog.exe <command line>; 1 when no dialog came
// within 30 seconds.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

BOOL CALLBACK FindDialog(HWND window, LPARAM lparam) {
  auto* process = reinterpret_cast<DWORD*>(lparam);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char name[16];
  if (owner == process[0] && IsWindowVisible(window) && GetClassNameA(window, name, sizeof name) &&
      std::strcmp(name, "#32770") == 0) {
    process[1] = 1;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

int main(int argc, char**) {
  if (argc < 2) return 2;
  // Our own command line past the program's name, quoted or not.
  LPSTR command = GetCommandLineA();
  const char end = *command == '"' ? '"' : ' ';
  for (command += (*command == '"'); *command != '\0' && *command != end; ++command) {}
  if (*command != '\0') ++command;
  while (*command == ' ') ++command;
  LARGE_INTEGER frequency, start, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    std::fprintf(stderr, "first_dialog: CreateProcessA %s: error %lu\n", command, GetLastError());
    return 1;
  }
  DWORD found[2] = {process.dwProcessId, 0};
  for (int i = 0; i < 30000 && !found[1]; ++i) {
    EnumWindows(FindDialog, reinterpret_cast<LPARAM>(found));
    if (!found[1]) Sleep(1);
  }
  QueryPerformanceCounter(&now);
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, 10000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (!found[1]) return 1;
  std::printf("%.6f\n", static_cast<double>(now.QuadPart - start.QuadPart) / frequency.QuadPart);
  return 0;
}
