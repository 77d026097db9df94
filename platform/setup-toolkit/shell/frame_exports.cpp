// Opening and closing the frame: options, source directory, log, window.
#include <string>

#include "options.h"
#include "platform/setup-toolkit/shell/frame_window.h"
#include "platform/setup-toolkit/stf_internal.h"

static HWND frameWindow = nullptr;
static HMODULE bitmapLibrary = nullptr;

static const char kTitle[] = "Merlox IDE CD-ROM Drive Setup";

// A command line that could not be parsed may still ask for no windows.
static bool HasQuietSwitch(const char* tail) {
  std::string t = std::string(" ") + (tail ? tail : "") + " ";
  for (char& c : t) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c == '\t') c = ' ';
  }
  for (const char* w : {"/q", "-q", "/quiet", "-quiet", "/qn", "-qn"}) {
    if (t.find(std::string(" ") + w + " ") != std::string::npos) return true;
  }
  return false;
}

// Help and switch errors: a box for a person, standard error for a script.
static void Tell(const std::string& text, bool quiet) {
  HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
  if (err != nullptr && err != INVALID_HANDLE_VALUE) {
    DWORD written;
    std::string line = text + "\r\n";
    WriteFile(err, line.c_str(), static_cast<DWORD>(line.size()), &written, nullptr);
  }
  // The log keeps one record a line: each line of the text on its own.
  for (size_t from = 0; from < text.size();) {
    size_t end = text.find('\n', from);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(from, end - from);
    if (!line.empty()) FWriteToLogFile(line.c_str(), TRUE);
    from = end + 1;
  }
  if (!quiet) MessageBoxA(nullptr, text.c_str(), kTitle, MB_OK | MB_ICONINFORMATION);
}

// The directory setup.exe was started from, ending in a backslash.
static std::string ProgramDirectory() {
  char path[MAX_PATH + 1];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return "";
  char* cut = path;
  for (char* p = path; *p; p = CharNextA(p)) {
    if (*p == '\\' && CharNextA(p) == p + 1) cut = p + 1;
  }
  *cut = '\0';
  return path;
}

static std::string WithBackslash(std::string dir) {
  const char* last = nullptr;
  for (const char* p = dir.c_str(); *p; p = CharNextA(p)) last = p;
  if (last == nullptr || !(*last == '\\' && CharNextA(last) == last + 1)) dir += '\\';
  return dir;
}

extern "C" {

INT STFAPI InitializeFrame(LPSTR cmdLine) {
  stf::SetupOptions options;
  std::string error;
  if (!stf::ParseOptions(cmdLine ? cmdLine : "", &options, &error)) {
    Tell(error, HasQuietSwitch(cmdLine));
    return -1;
  }
  StfSetSymbol(STF_SYM_QUIET, options.quiet ? "1" : "");
  StfSetSymbol(STF_SYM_RESTART, options.restart == stf::SetupOptions::kRestartForce   ? "FORCE"
                                : options.restart == stf::SetupOptions::kRestartNever ? "NO"
                                                                                      : "");
  if (!options.logPath.empty() && !FOpenLogFile(options.logPath.c_str(), FALSE)) return 0;
  FWriteToLogFile(("Command line: " + std::string(cmdLine ? cmdLine : "")).c_str(), TRUE);
  if (options.help) {
    // Only the text: the log (when asked for) holds it and ends there.
    Tell(stf::UsageText(), options.quiet);
    FCloseLogFile();
    return -1;
  }

  std::string source = options.sourceDir.empty() ? ProgramDirectory()
                                                 : WithBackslash(options.sourceDir);
  if (source.empty()) {
    StfLogError("Cannot find the directory setup was started from (GetModuleFileNameA)",
                GetLastError());
    return 0;
  }
  StfSetSymbol(STF_SYM_SRCDIR, source.c_str());
  FWriteToLogFile(("Source directory: " + source).c_str(), TRUE);

  if (!options.quiet) {
    frameWindow = CreateFrameWindow(GetModuleHandleA(nullptr));
    if (frameWindow == nullptr) {
      StfLogError("Cannot create the frame window (CreateWindowExA)", GetLastError());
      return 0;
    }
  }
  return 1;
}

BOOL STFAPI TerminateFrame(void) {
  if (frameWindow != nullptr) DestroyWindow(frameWindow);
  frameWindow = nullptr;
  // Also after a frame that failed to open once the log was: every log that
  // was opened ends in its outcome. Without a log both calls do nothing.
  char outcome[256] = "";
  CbGetSymbolValue(STF_SYM_OUTCOME, outcome, sizeof outcome);
  StfLogOutcome(outcome[0] ? outcome : "FAILED (setup ended before it completed)");
  FCloseLogFile();
  return TRUE;
}

HINSTANCE STFAPI HinstFrame(void) { return GetModuleHandleA(nullptr); }
HWND STFAPI HwndFrame(void) { return frameWindow; }

BOOL STFAPI FSetBitmap(LPCSTR dll, UINT id) {
  // Without a window only the check is wanted: the resources, not the code.
  HMODULE library = StfQuiet() ? LoadLibraryExA(dll, nullptr, LOAD_LIBRARY_AS_DATAFILE)
                               : LoadLibraryA(dll);
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
  if (StfQuiet()) return nullptr;
  return SetCursor(LoadCursor(nullptr, IDC_WAIT));
}

BOOL STFAPI FRestoreCursor(HCURSOR previous) {
  if (!StfQuiet()) SetCursor(previous ? previous : LoadCursor(nullptr, IDC_ARROW));
  return TRUE;
}

BOOL STFAPI FSetSymbolValue(LPCSTR name, LPCSTR value) { return StfSetSymbol(name, value); }

}  // extern "C"
