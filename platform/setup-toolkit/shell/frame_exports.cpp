// Opening and closing the frame: options, the run lock, source directory,
// log, window.
#include <string>

#include "dbcs_path.h"
#include "options.h"
#include "platform/setup-toolkit/shell/frame_window.h"
#include "platform/setup-toolkit/shell/language_setup.h"
#include "platform/setup-toolkit/shell/run_end.h"
#include "platform/setup-toolkit/shell/run_event.h"
#include "platform/setup-toolkit/shell/run_header.h"
#include "platform/setup-toolkit/language_resources.h"
#include "platform/setup-toolkit/shell/usage_window.h"
#include "platform/setup-toolkit/stf_internal.h"
#include "run_outcome.h"

static HWND frameWindow = nullptr;
static HMODULE bitmapLibrary = nullptr;

// A box in the language of the windows: text (with %1 and %2 filled in) as
// the language's file words it, english when it has none.
static void ShowBox(UINT id, LPCWSTR english, const std::wstring& one = L"",
                    const std::wstring& two = L"") {
  WCHAR form[1024];
  StfLanguageText(id, english, form, 1024);
  const std::wstring fills[] = {one, two};
  const std::wstring text = StfFillText(form, fills, 2);
  WCHAR title[256] = L"";
  StfSpokenTitle(FALSE, title, 256);
  StfShowBox(nullptr, text.c_str(), title, MB_OK | MB_ICONHAND | MB_TASKMODAL);
}

// The switches, asked for (problem empty) or after a command line that cannot
// be used: standard error always, the window of the switches for a person.
static void TellUsage(const std::string& problem, const std::string& text, bool quiet,
                      const std::string& program) {
  StfWriteStdErr(text);
  WCHAR title[256] = L"";
  StfSpokenTitle(FALSE, title, 256);
  if (!quiet) ShowUsageWindow(problem, program, title);
}

// Reads the switches and takes the run lock; false when the run ends here
// (the reason told and the exit code kept for the end).
static bool StartRun(LPCSTR cmdLine, stf::SetupOptions* options, std::string* languageNote) {
  const char* tail = cmdLine ? cmdLine : "";
  const std::string program = ProgramName();
  std::string error;
  const bool parsed = stf::ParseOptions(tail, options, &error, program);
  // Known before anything can fail, so that no failure waits for a person.
  // Unparsed, a run that asked for no questions opens no window either.
  const bool quiet = parsed ? options->quiet || options->passive : stf::AsksForUnattended(tail);
  StfSetRunSwitches(parsed ? options->quiet : quiet, parsed && options->passive,
                    parsed ? options->restart : stf::SetupOptions::kRestartDefault);
  StfSetTitle(ProgramDescription().c_str());
  // Chosen first, so that the window of the switches speaks it too, also
  // for a command line that cannot be parsed. A quiet run chooses as well: a
  // /lang that names no language of ours is a bad command line either way.
  std::string unknown;
  const bool spoken = ChooseRunLanguage(parsed ? options->language : stf::AsksForLanguage(tail),
                                        languageNote, &unknown);
  // A run without windows shows no text: it reads no dialog library.
  if (!StfWindowless()) {
    StfSetLanguageLibrary(StfLoadDiskLibrary(STF_DIALOG_LIBRARY, LOAD_LIBRARY_AS_DATAFILE));
  }
  if (!parsed) {
    const std::string problem = error.substr(0, error.find('\n'));
    TellUsage(problem, error, quiet, program);
    EndRunEarly(stf::kOutcomeBadCommandLine, "bad command line: " + problem);
    return false;
  }
  if (!spoken) {
    TellUsage(unknown, unknown + "\n\n" + stf::UsageText(program), quiet, program);
    EndRunEarly(stf::kOutcomeBadCommandLine, "bad command line: " + unknown);
    return false;
  }
  if (options->help) {
    TellUsage("", stf::UsageText(program), quiet, program);
    EndRunEarly(stf::kOutcomeBadCommandLine, "only the usage was asked for");
    return false;
  }
  if (!TakeRunLock()) {
    StfWriteStdErr("Another setup is running. Wait until it has finished, then start this one "
                   "again.");
    if (!quiet) {
      ShowBox(IDS_STF_BUSY,
              L"Another setup is running. Wait until it has finished, then start this one again.");
    }
    EndRunEarly(stf::kOutcomeAnotherSetup, "another setup is running");
    return false;
  }
  if (!options->logPath.empty() && !FOpenLogFile(options->logPath.c_str(), TRUE)) {
    EndRunEarly(stf::kOutcomeLogRefused, "the log " + options->logPath + " cannot be opened");
    return false;
  }
  // Without /log the run still leaves a record, one of its own; a check's
  // is named apart from the installs' beside it.
  if (options->verify) MarkCheckRun();
  if (options->logPath.empty()) {
    FOpenRunLog((options->verify ? CheckLogProgram() : ProgramDescription()).c_str());
  }
  return true;
}

// The toolkit works with ANSI paths: a folder whose name the ANSI code page
// cannot hold reaches it as question marks. Say so, with the name as it is.
static bool ProgramFolderIsAnsi(bool quiet) {
  WCHAR wide[MAX_PATH + 1];
  const DWORD n = GetModuleFileNameW(nullptr, wide, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return true;  // ProgramDirectory() reports it
  BOOL lossy = FALSE;
  char ansi[MAX_PATH * 2];
  if (WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(n), ansi, sizeof ansi, nullptr,
                          &lossy) > 0 && !lossy) {
    return true;
  }
  const std::string why = "Setup cannot run from the folder " + ProgramDirectory() +
                          ": its name has characters that ANSI code page " +
                          std::to_string(GetACP()) + " cannot hold.";
  const std::string advice = "Copy the disk's files to a folder with a plain name, such as "
                             "C:\\MLXSETUP, and start Setup from there.";
  // An error record without a Win32 code: nothing failed but the name.
  FWriteToLogFile(("Error: " + why + " " + advice).c_str(), TRUE);
  if (quiet) return false;
  // The box names the folder as it is, which only the Unicode box can show.
  std::wstring dir(wide, n);
  dir.erase(dir.find_last_of(L'\\') + 1);
  ShowBox(IDS_STF_FOLDER_NOT_ANSI,
          L"Setup cannot run from the folder %1 because this Windows cannot use its name in the "
          L"names of the files Setup works with (ANSI code page %2).\n\nCopy the disk's files "
          L"to a folder with a plain name, such as C:\\MLXSETUP, and start Setup from there.",
          dir, StfWideDecimal(GetACP()));
  return false;
}

extern "C" {

INT STFAPI InitializeFrame(LPSTR cmdLine) {
  stf::SetupOptions options;
  std::string languageNote;
  if (!StartRun(cmdLine, &options, &languageNote)) return -1;  // nothing is open that needs ending
  WriteRunHeader(cmdLine);
  FWriteToLogFile(languageNote.c_str(), TRUE);
  if (!ProgramFolderIsAnsi(StfQuiet() != FALSE)) {
    EndRunEarly(stf::kOutcomeCannotStart, "the program's folder has a name that ANSI code page " +
                                              std::to_string(GetACP()) + " cannot hold");
    return -1;
  }

  std::string source = options.sourceDir.empty()
                           ? ProgramDirectory()
                           : stf::WithBackslash(options.sourceDir, StfIsLeadByte);
  if (source.empty()) {
    StfLogError("Cannot find the folder of the program: its path is longer than the system "
                "allows (GetModuleFileNameA)", GetLastError());
    return 0;
  }
  StfSetSymbol(STF_SYM_SRCDIR, source.c_str());
  StfSetSymbol(STF_SYM_VERIFY, !options.verify ? "" : options.restore ? "restore" : "check");
  FWriteToLogFile(("Source directory: " + source).c_str(), TRUE);

  if (!options.quiet) {
    frameWindow = CreateFrameWindow(GetModuleHandleA(nullptr));
    if (frameWindow == nullptr) {
      StfLogError("Cannot create the frame window (CreateWindowExW)", GetLastError());
      return 0;
    }
  }
  return 1;
}

BOOL STFAPI TerminateFrame(void) {
  if (frameWindow != nullptr) DestroyWindow(frameWindow);
  frameWindow = nullptr;
  // Also after a frame that failed to open once the log was: every log that
  // was opened ends in its outcome.
  WriteFinalOutcome();
  FCloseLogFile();
  return TRUE;
}

HINSTANCE STFAPI HinstFrame(void) { return GetModuleHandleA(nullptr); }
HWND STFAPI HwndFrame(void) { return frameWindow; }

BOOL STFAPI FSetBitmap(LPCSTR dll, UINT id) {
  // Without a window there is nothing to show it on: the library is not read.
  if (StfWindowless()) return TRUE;
  HMODULE library = StfLoadDiskLibrary(dll, 0);
  if (library == nullptr) {
    StfLogError(("Cannot load the library " + std::string(dll ? dll : "") + " for the frame bitmap").c_str(),
                GetLastError());
    return FALSE;
  }
  if (FindResourceA(library, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2)) == nullptr) {  // RT_BITMAP
    StfLogError(("Bitmap " + std::to_string(id) + " is missing from " + dll).c_str(), GetLastError());
    FreeLibrary(library);
    return FALSE;
  }
  if (bitmapLibrary) FreeLibrary(bitmapLibrary);
  bitmapLibrary = library;
  if (frameWindow != nullptr) {
    SetFrameBitmapHandle(LoadBitmapA(library, MAKEINTRESOURCEA(id)));
    InvalidateRect(frameWindow, nullptr, FALSE);
  }
  return TRUE;
}

BOOL STFAPI FSetAbout(LPCSTR, LPCSTR) { return TRUE; }

HCURSOR STFAPI HShowWaitCursor(void) {
  if (StfWindowless()) return nullptr;
  return SetCursor(LoadCursor(nullptr, IDC_WAIT));
}

BOOL STFAPI FRestoreCursor(HCURSOR previous) {
  if (!StfWindowless()) SetCursor(previous ? previous : LoadCursor(nullptr, IDC_ARROW));
  return TRUE;
}

BOOL STFAPI FSetSymbolValue(LPCSTR name, LPCSTR value) { return StfSetSymbol(name, value); }

}  // extern "C"
