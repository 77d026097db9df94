// The process entry of uninstall.exe.
#include "platform/process_exit.h"
#include "uninstaller/uninstaller.h"

int main() {
  RestrictLibrarySearch();
  ExitProgram(UninstallMain(CommandTail(GetCommandLineA())));
}
