// The installer from start to restart.
#include "installer/installer.h"
#include "platform/process_exit.h"
#include "support/path_join.h"
#include "support/registry_binding.h"
#include "support/setup_paths.h"
#include "toolkit/dialogs.h"
#include "toolkit/setup_lifecycle.h"

HINSTANCE AppInstance = nullptr;
DWORD RestartRequested = 0;

static void ShowStartupFailure(LPCSTR text) {
  MessageBoxA(nullptr, text, "Error", MB_OK | MB_ICONHAND);
}

// The Windows directory's SYSTEM32 subdirectory, ending in a backslash.
static void WorkOutSystemDir(void) {
  // 255 or more is the size the directory would need, not a directory read.
  UINT length = GetWindowsDirectoryA(SetupPaths.SystemDir, 255);
  if (length == 0) ReportNoWindowsDir();
  if (length >= 255) FailWithBufferOverflow();
  AppendBackslash(SetupPaths.SystemDir);
  LPSTR systemDir = ConcatPath(SetupPaths.SystemDir, "SYSTEM32\\");
  if (lstrlenA(systemDir) >= SETUP_PATH_SIZE) FailWithBufferOverflow();
  lstrcpyA(SetupPaths.SystemDir, systemDir);
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int) {
  AppInstance = hInstance;

  if (InitializeSetup(lpCmdLine) <= 0) {
    ShowStartupFailure("Cannot initialize setup!");
  } else if (!BindRegistryFunctions()) {
    ShowStartupFailure("Cannot initialize registry!");
    EndSetup();
  } else {
    SetFrameBitmap("mscuistf.dll", 1);
    SetFrameTitle("Merlox IDE CD-ROM Drive Setup");
    OpenInfFile(ConcatPath(SetupPaths.StartDir, "setup.inf"));
    WorkOutSystemDir();
    ReadSymbolValue("STF_SRCDIR", SetupPaths.SourceDir, 255);
    EnsureDriverCanLoad();

    ShowWelcome();
    PrepareFileCopy();
    CopyAndRegisterDriver();
    UnbindRegistryFunctions();
    AskRestart();
    EndSetup();
  }

  if (RestartRequested) RestartWindows();
  ExitProgram(0);
}
