// The installer from start to restart.
#include "installer/installer.h"
#include "contract/toolkit_api.h"
#include "platform/process_exit.h"
#include "resources/product.h"
#include "support/path_join.h"
#include "support/registry_binding.h"
#include "support/setup_paths.h"
#include "toolkit/dialogs.h"
#include "toolkit/setup_lifecycle.h"

DWORD RestartRequested = 0;

bool ReadProgramDir(LPSTR dir) {
  char path[MAX_PATH + 1];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  StripFileName(path);
  if (lstrlenA(path) >= SETUP_PATH_SIZE) return false;
  lstrcpyA(dir, path);
  return true;
}

// The folder setup.inf is read from: the launch folder when it holds one,
// else the folder of setup.exe, so that "D:\setup.exe" started from another
// folder (a scheduled task, a remote shell, a logon script) finds its disk.
static LPCSTR SetupInfDir(void) {
  static char programDir[SETUP_PATH_SIZE];
  char inf[SETUP_PATH_SIZE + 16];
  if (SetupPaths.StartDir[0] != '\0' &&
      GetFileAttributesA(ConcatPath(inf, SetupPaths.StartDir, "setup.inf")) !=
          INVALID_FILE_ATTRIBUTES) {
    return SetupPaths.StartDir;
  }
  if (!ReadProgramDir(programDir)) {
    FailWithMessage(
        "Setup cannot find its files: the folder it was started from and the folder that holds "
        "setup.exe cannot be read, or their paths are too long. Copy the installation disk to "
        "a folder with a shorter path and start setup there.");
  }
  return programDir;
}

// The Windows directory's SYSTEM32 subdirectory, ending in a backslash.
static void WorkOutSystemDir(void) {
  // 255 or more is the size the directory would need, not a directory read.
  UINT length = GetWindowsDirectoryA(SetupPaths.SystemDir, 255);
  if (length == 0) ReportNoWindowsDir();
  if (length >= 255) FailWithBufferOverflow();
  AppendBackslash(SetupPaths.SystemDir);
  char systemDir[SETUP_PATH_SIZE];
  lstrcpyA(SetupPaths.SystemDir, ConcatPath(systemDir, SetupPaths.SystemDir, "SYSTEM32\\"));
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR lpCmdLine, int) {
  StfSetEventSource(PRODUCT_NAME, FALSE);

  if (StartSetup(lpCmdLine, "Merlox IDE CD-ROM Drive Setup")) {
    char inf[SETUP_PATH_SIZE + 16];
    OpenInfFile(ConcatPath(inf, SetupInfDir(), "setup.inf"));
    WorkOutSystemDir();
    ReadSymbolValue("STF_SRCDIR", SetupPaths.SourceDir, 255);
    EnsureDriverCanLoad();
    EnsureUninstallerIntact();

    ShowWelcome();
    CheckDiskFiles();
    PrepareFileCopy();
    CopyAndRegisterDriver();
    const bool restartNeeded = RestartNeeded();
    UnbindRegistryFunctions();
    if (restartNeeded) {
      AskRestart();
    } else {
      ReportInstalledAndRunning();
    }
    EndSetup();
  }

  if (RestartRequested && !RestartWindows()) ReportRestartRefused();
  ExitProgram(0);
}
