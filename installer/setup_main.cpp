// The process entry the C run-time calls once it is initialised: the command
// tail and show state go to WinMain, whose result ends the process.
#include "installer/installer.h"
#include "platform/process_exit.h"

int main() {
  RestrictLibrarySearch();
  int result = WinMain(GetModuleHandleA(nullptr), nullptr, CommandTail(GetCommandLineA()),
                       StartupShowState());
  ExitProgram(result);
}
