// The installer from start to restart.
#include <string>

#include "installer/installer.h"
#include "contract/toolkit_api.h"
#include "platform/process_exit.h"

#include "resources/product.h"
#include "support/driver_service.h"
#include "support/path_join.h"
#include "support/registry_binding.h"
#include "support/setup_paths.h"
#include "toolkit/dialogs.h"
#include "toolkit/driver_check.h"
#include "toolkit/setup_lifecycle.h"

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
  if (length >= 255) {
    std::string whole(length + 1, '\0');
    GetWindowsDirectoryA(&whole[0], length + 1);
    whole.resize(static_cast<std::size_t>(lstrlenA(whole.c_str())));
    FailWithTooLong("the Windows directory", whole.c_str(), SETUP_PATH_SIZE - 11);
  }
  AppendBackslash(SetupPaths.SystemDir);
  const std::string systemDir = std::string(SetupPaths.SystemDir) + SYSTEM32_SUBDIR;
  if (systemDir.size() >= SETUP_PATH_SIZE) {
    FailWithTooLong("the Windows directory", SetupPaths.SystemDir, SETUP_PATH_SIZE - 11);
  }
  lstrcpyA(SetupPaths.SystemDir, systemDir.c_str());
}

// The folder the files come from: the disk's, or the one /source names.
static void WorkOutSourceDir(void) {
  char probe[2];
  const INT length = CbGetSymbolValue("STF_SRCDIR", probe, sizeof probe);
  if (length >= SETUP_PATH_SIZE - 1) {
    std::string whole(static_cast<std::size_t>(length) + 1, '\0');
    CbGetSymbolValue("STF_SRCDIR", &whole[0], length + 1);
    FailWithTooLong("the folder setup takes its files from", whole.c_str(), SETUP_PATH_SIZE - 2);
  }
  ReadSymbolValue("STF_SRCDIR", SetupPaths.SourceDir, 255);
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR lpCmdLine, int) {
  StfSetEventSource(PRODUCT_NAME, FALSE);

  InstallRun run;
  if (StartSetup(lpCmdLine, SETUP_TITLE)) {
    const CheckRequest check = RequestedCheck();
    if (check != CheckRequest::kNone) {
      const int code = RunDriverCheck(check == CheckRequest::kRestore, false);
      EndSetup();
      ExitProgram(code);
    }
    char inf[SETUP_PATH_SIZE + 16];
    OpenInfFile(ConcatPath(inf, SetupInfDir(), "setup.inf"));
    WorkOutSystemDir();
    WorkOutSourceDir();
    run.plan = PlanInstall();
    EnsureDriverCanLoad(run.plan);
    EnsureUninstallerIntact(run.plan);

    ShowWelcome();
    CheckDiskFiles(&run);
    PrepareFileCopy();
    CopyAndRegisterDriver(&run);
    const bool restartNeeded = RestartNeeded(run.changes);
    ArrangeDriverCheck(&run, restartNeeded);
    run.services.Close();
    UnbindRegistryFunctions();
    if (restartNeeded) {
      run.restart = AskRestart();
    } else {
      ReportInstalledAndRunning();
    }
    EndSetup();
  }

  if (run.restart == RestartChoice::kRestart && !RestartWindows()) ReportRestartRefused();
  ExitProgram(0);
}
