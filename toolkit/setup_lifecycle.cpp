#include "toolkit/setup_lifecycle.h"

#include "support/guarded.h"
#include "platform/internal_failure.h"
#include "platform/process_exit.h"
#include "platform/dialogs/box_text_ids.h"
#include "platform/setup-toolkit/core/run_outcome.h"
#include "resources/product.h"
#include "support/path_join.h"
#include "support/registry_binding.h"
#include "support/setup_paths.h"
#include "platform/startup.h"
#include "toolkit/log_lines.h"
#include "toolkit/dialogs.h"
#include "contract/toolkit_api.h"
#include "toolkit/unattended.h"

SetupOpening SetupOpenState = kSetupNotOpened;
INT FatalErrorShown = 0;
// The one link from the fatal path, which may end the process from any
// depth, to the run that the program owns.
static struct {
  void (*undo)(void* run);
  void* run;
} RunToUndo = {nullptr, nullptr};

void SetFailureUndo(void (*undo)(void* run), void* run) { RunToUndo = {undo, run}; }

void RunFailureUndo(void) {
  if (RunToUndo.undo != nullptr) RunToUndo.undo(RunToUndo.run);
}

INT OpenFrame(LPSTR cmdLine) {
  if (SetupOpenState == kSetupOpened) return 0;
  return InitializeFrame(cmdLine);
}

INT OpenInstallEngine(void) {
  if (SetupOpenState == kSetupOpened) return 0;
  return FInitializeInstall(HinstFrame(), HwndFrame()) ? 1 : 0;
}

// StartDir: the launch directory in ANSI, ending in exactly one backslash. A
// directory that cannot be read or does not fit leaves it empty: a lone
// backslash would name the root of the drive, whose setup.inf is not ours.
static void ReadStartDir(void) {
  char* dir = SetupPaths.StartDir;
  UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
  DWORD length = GetCurrentDirectoryA(SETUP_PATH_SIZE - 1, dir);
  SetErrorMode(oldMode);
  if (length == 0 || length >= SETUP_PATH_SIZE - 1) {
    dir[0] = '\0';
    return;
  }
  // GetCurrentDirectoryA answers in the code page of the file functions:
  // only a process switched to OEM needs converting.
  if (!AreFileApisANSI()) OemToCharA(dir, dir);
  // Walks by characters: a double-byte character may end in the byte 0x5C.
  AppendBackslash(dir);
}

SetupOpening InitializeSetup(LPSTR cmdLine) {
  if (SetupOpenState == kSetupOpened) return kSetupNotOpened;
  InstallSetupFatalPath();

  INT frame = OpenFrame(cmdLine);
  if (frame == -1) return kSetupNothingToEnd;
  if (frame <= 0 || OpenInstallEngine() == 0) {
    EndSetup();
    return kSetupNotOpened;
  }
  SetupOpenState = kSetupOpened;
  ReadStartDir();
  return SetupOpenState;
}

// The restriction of the library search is a second line of defence (only
// KnownDLLs are imported, other system libraries come by full path): a
// refusal is worth a warning, not the run.
static void NoteLibrarySearch(void) {
  if (LibrarySearchError == 0) return;
  char line[160];
  wsprintfA(line, "Warning: Windows refused to limit the library search to the system folder "
                  "and setup's folder (error %lu)", static_cast<unsigned long>(LibrarySearchError));
  LogText(line);
}

bool StartSetup(LPSTR cmdLine, LPCSTR title) {
  if (InitializeSetup(cmdLine) != kSetupOpened) {
    ReportStartupFailure("Cannot initialize setup!");
    return false;
  }
  HandDialogAnswers();
  if (!BindRegistryFunctions()) {
    ReportStartupFailure("Cannot initialize registry!");
    EndSetup();
    return false;
  }
  NoteLibrarySearch();
  SetStartupLog([](LPCSTR line) { LogText(line); });  // which of our libraries were checked and loaded
  LogEarlyToolkitChecks();
  SetFrameBitmap(DIALOG_LIBRARY, BMP_FRAME);
  SetFrameTitle(title);
  return true;
}

void EndSetup(void) {
  TerminateFrame();
  TerminateInstall();
  UnbindRegistryFunctions();
}

void ReportRestartRefused(void) {
  StfRestartRefused(GetLastError());
}

static void ShowFatalError(void) {
  RunFailureUndo();
  // A failure met while the error dialog is up lands here again: end at once.
  if (!FatalErrorShown) {
    FatalErrorShown = 1;
    CloseAllDialogs();
    char event[16] = {0};
    UINT sum;
    do {
      RunDialog(DIALOG_LIBRARY, DLG_FATAL, ERROR_DIALOG_PROC, event, sizeof event - 1);
      sum = EventSum(event);
    } while (sum != kEventCancel && sum != kEventContinue);
    CloseDialogs(1);
  }
  EndSetup();
  ExitProgram(0);
}

// A failure whose one window has been shown (a box that names it): the rest
// of the fatal path, without the error dialog. The outcome is the one the
// error dialog's answer would have given.
static void EndShownFailure(void) {
  RunFailureUndo();
  FatalErrorShown = 1;
  typedef void(STFAPI * SetOutcome)(INT, LPCSTR);
  SetOutcome decide = reinterpret_cast<SetOutcome>(
      reinterpret_cast<void*>(CommonExport("StfSetOutcome")));
  if (decide != nullptr) decide(stf::kOutcomeFailed, "a setup error ended the installation");
  EndSetup();
  ExitProgram(0);
}

static void ShowMessageThenFail(LPCSTR text) {
  DoMsgBox(text, "MS-Setup Error", MB_ICONHAND);
  EndShownFailure();
}

static void ShowBufferOverflow(void) {
  ShowMessageThenFail("Buffer Overflow");
}

static void ShowTooLong(LPCSTR role, LPCSTR value, int limit) {
  const std::string length = std::to_string(lstrlenA(value));
  const std::string most = std::to_string(limit);
  LogText("Too long: " + std::string(role) + ", " + length + " characters");
  const std::string text = "Setup cannot go on: " + std::string(value) + " is longer than the " +
                           most + " characters that setup can use.\n\nSetup has made no further "
                           "changes to this computer. Move the files to a place with a shorter "
                           "path, then start setup again.";
  StfLanguageBox(IDS_STF_TOO_LONG, STF_BOX_CAPTION_ID, text.c_str(), SETUP_TITLE,
                 value, most.c_str(), "", MB_ICONHAND);
  EndShownFailure();
}

// A failure no code can go on from, met anywhere in the process.
static void OnInternalFailure(const char* what, unsigned long code) {
  LogWin32Failure("Setup cannot go on: " + std::string(what), code);
  FatalSetupError();
}

void InstallSetupFatalPath(void) {
  static const FatalPathHandlers kHandlers = {ShowFatalError, ShowBufferOverflow,
                                              ShowMessageThenFail, ShowTooLong, EndShownFailure};
  InstallFatalPath(&kHandlers);
  SetInternalFailureHandler(OnInternalFailure);
  // Our libraries hand theirs to the common library, which hands them here.
  typedef void(STFAPI * SetHandler)(LPVOID);
  SetHandler set = reinterpret_cast<SetHandler>(
      reinterpret_cast<void*>(CommonExport("StfSetInternalFailureHandler")));
  if (set != nullptr) set(reinterpret_cast<LPVOID>(OnInternalFailure));
}

void SetFrameBitmap(LPCSTR dll, UINT bitmapId) {
  Guarded<FSetBitmap>(dll, bitmapId);
}

void SetFrameTitle(LPCSTR title) {
  SetWindowTextA(HwndFrame(), title);
}
