// The dialog stack: dialogs stay shown until killed; FDoDialogExt returns
// once the dialog's procedure has reported the user's answer.
#include <map>
#include <string>
#include <vector>

#include "event_sum.h"
#include "options.h"
#include "platform/setup-toolkit/stf_internal.h"

namespace {

struct StackEntry {
  HWND window;  // null for a windowless (quiet) entry
  HWND owner;   // re-enabled when this entry goes
  UINT id;
  bool answered;
  std::string word;  // the answer's event word, once answered
};

std::vector<StackEntry> stack;
std::map<std::string, HMODULE> libraries;

HMODULE DialogLibrary(LPCSTR name) {
  std::string key = name ? name : "";
  for (char& c : key) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  auto found = libraries.find(key);
  if (found != libraries.end()) return found->second;
  // From the program's folder, and only once its signature has been checked.
  HMODULE library = StfLoadDiskLibrary(name, 0);
  if (library == nullptr) {
    StfLogError(("Cannot load the dialog library " + key).c_str(), GetLastError());
    return nullptr;
  }
  libraries[key] = library;
  return library;
}

StackEntry* EntryOf(HWND window) {
  for (StackEntry& e : stack) {
    if (e.window != nullptr && e.window == window) return &e;
  }
  return nullptr;
}

HWND TopWindow(HWND fallback) {
  for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
    if (it->window != nullptr) return it->window;
  }
  return fallback;
}

// The frame's close box closes the top-most dialog, as Alt+F4 there would.
void NoteTopDialog() {
  HWND frame = HwndFrame();
  if (frame == nullptr) return;
  HWND top = TopWindow(nullptr);
  if (top != nullptr) {
    SetPropA(frame, STF_PROP_TOP_DIALOG, top);
  } else {
    RemovePropA(frame, STF_PROP_TOP_DIALOG);
  }
}

// The program's facts of its dialogs (StfSetDialogAnswers), so that a run
// nobody answers needs no dialog library.
struct Answer {
  UINT id;
  std::string word, restartWord, detail;
  UINT decidingSum;
  INT onSum, otherwise;
};
std::vector<Answer> answers;

const Answer* AnswerOf(UINT id) {
  for (const Answer& a : answers) {
    if (a.id == id) return &a;
  }
  return nullptr;
}

// The log line, and what the answer means for the whole setup: the run's outcome.
void RecordAnswer(UINT id, LPCSTR word) {
  std::string line = "Dialog: " + std::to_string(id) + " -> " + word;
  FWriteToLogFile(line.c_str(), TRUE);
  const Answer* answer = AnswerOf(id);
  if (answer == nullptr) return;
  const UINT sum = stf::EventSum(word);
  const INT outcome =
      answer->decidingSum == 0 || sum == answer->decidingSum ? answer->onSum : answer->otherwise;
  if (outcome != stf::kOutcomeUndecided) {
    StfSetOutcome(outcome, answer->detail.empty() ? nullptr : answer->detail.c_str());
  }
}

// Nobody answers: the default answer, and nothing of the dialog library is
// loaded for it. A restart only when the command line asked for one.
BOOL AnswerUnattended(UINT id) {
  const Answer* answer = AnswerOf(id);
  const bool restart = StfRestartChoice() == stf::SetupOptions::kRestartForce;
  std::string word = "CONTINUE";
  if (answer != nullptr) word = restart && !answer->restartWord.empty() ? answer->restartWord : answer->word;
  StfSetSymbol(STF_SYM_DLGEVENT, word.c_str());
  stack.push_back({nullptr, nullptr, id, true, word});
  RecordAnswer(id, word.c_str());
  return TRUE;
}

// A right-to-left language's dialogs are mirrored. The process's default
// layout mirrors them on Windows; Wine leaves owned dialogs unmirrored, so the
// template itself asks for it.
HWND CreateFromTemplate(HMODULE templates, UINT id, HWND owner, DLGPROC procedure) {
  char mirror[4] = "";
  CbGetSymbolValue(STF_SYM_MIRROR, mirror, sizeof mirror);
  if (mirror[0] != '1') {
    return CreateDialogParamW(templates, MAKEINTRESOURCEW(id), owner, procedure,
                              static_cast<LPARAM>(id));
  }
  HRSRC found = FindResourceW(templates, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5));  // RT_DIALOG
  HGLOBAL loaded = found ? LoadResource(templates, found) : nullptr;
  const BYTE* bytes = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
  const DWORD size = found ? SizeofResource(templates, found) : 0;
  if (bytes == nullptr || size < 12) return nullptr;
  std::vector<DWORD> copy((size + 3) / 4);  // templates are DWORD-aligned
  CopyMemory(copy.data(), bytes, size);
  // DLGTEMPLATEEX (signature 0xFFFF) keeps the extended style at byte 8,
  // DLGTEMPLATE at byte 4.
  const bool extended = reinterpret_cast<const WORD*>(bytes)[1] == 0xFFFF;
  copy[extended ? 2 : 1] |= 0x00400000L;  // WS_EX_LAYOUTRTL
  return CreateDialogIndirectParamW(templates, reinterpret_cast<LPCDLGTEMPLATEW>(copy.data()),
                                    owner, procedure, static_cast<LPARAM>(id));
}

HWND CreateStackDialog(LPCSTR dll, UINT id, LPCSTR procDll, LPCSTR proc, HWND parent) {
  HMODULE templates = DialogLibrary(dll);
  HMODULE procs = DialogLibrary(procDll);
  if (templates == nullptr || procs == nullptr) return nullptr;
  auto procedure =
      reinterpret_cast<DLGPROC>(reinterpret_cast<void*>(GetProcAddress(procs, proc)));
  if (procedure == nullptr) {
    StfLogError(("Dialog procedure " + std::string(proc ? proc : "") + " is missing from " +
                 procDll).c_str(), GetLastError());
    return nullptr;
  }
  HWND owner = TopWindow(parent);
  // A Unicode dialog shows any language on any ANSI code page; its number
  // tells the procedure which texts it shows.
  HWND window = CreateFromTemplate(templates, id, owner, procedure);
  if (window == nullptr) {
    StfLogError(("Cannot show dialog " + std::to_string(id) + " of " + dll).c_str(),
                GetLastError());
    return nullptr;
  }
  SetPropA(window, STF_PROP_DIALOG_ID, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(id)));
  // The frame stays enabled, so that its close box works; it has nothing
  // else to click.
  if (owner == HwndFrame()) owner = nullptr;
  if (owner != nullptr) EnableWindow(owner, FALSE);
  stack.push_back({window, owner, id, false, ""});
  NoteTopDialog();
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  return window;
}

}  // namespace

extern "C" {

BOOL STFAPI FDoDialogExt(HWND parent, LPCSTR dll, UINT id, LPCSTR proc, LPCSTR procDll, LONG,
                         LONG) {
  if (procDll == nullptr) procDll = dll;
  if (StfQuiet()) return AnswerUnattended(id);
  HWND window = CreateStackDialog(dll, id, procDll, proc, parent);
  if (window == nullptr) return FALSE;

  MSG msg;
  std::string word;
  for (;;) {
    StackEntry* entry = EntryOf(window);
    if (entry == nullptr) return FALSE;  // destroyed from under us
    word = entry->word;
    if (entry->answered) break;
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      // Leave the quit for the program's own pump to find.
      PostQuitMessage(got == 0 ? static_cast<int>(msg.wParam) : 0);
      return FALSE;
    }
    if (!IsDialogMessageW(window, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  RecordAnswer(id, word.c_str());
  return TRUE;
}

BOOL STFAPI StfSetDialogAnswers(const STF_DIALOG_ANSWER* table, INT count) {
  answers.clear();
  for (INT i = 0; table != nullptr && i < count; ++i) {
    const STF_DIALOG_ANSWER& row = table[i];
    if (row.szDefault == nullptr || row.szDefault[0] == '\0') return FALSE;
    answers.push_back({row.idDlg, row.szDefault, row.szRestart ? row.szRestart : "",
                       row.szDetail ? row.szDetail : "", row.nDecidingSum, row.nOnSum,
                       row.nOtherwise});
  }
  return table != nullptr || count == 0;
}

BOOL STFAPI FReturnDialogEvent(HWND dialog, LPCSTR word) {
  StackEntry* entry = EntryOf(dialog);
  if (entry == nullptr || word == nullptr) return FALSE;
  // The programs read the answer from the symbol; the toolkit keeps its own.
  StfSetSymbol(STF_SYM_DLGEVENT, word);
  entry->answered = true;
  entry->word = word;
  return TRUE;
}

BOOL STFAPI FKillNDialogs(INT n) {
  size_t count = n < 0 ? stack.size() : static_cast<size_t>(n);
  if (count > stack.size()) count = stack.size();
  for (size_t i = 0; i < count; ++i) {
    StackEntry entry = stack.back();
    stack.pop_back();
    if (entry.owner != nullptr) EnableWindow(entry.owner, TRUE);
    if (entry.window != nullptr) DestroyWindow(entry.window);
  }
  NoteTopDialog();
  HWND top = TopWindow(nullptr);
  if (top != nullptr) SetForegroundWindow(top);
  return TRUE;
}

BOOL STFAPI StfShowBillboard(LPCSTR dll, UINT id, LPCSTR proc) {
  // A blank billboard (registered without a dialog) holds its place on the
  // stack and shows nothing, so that the caller still removes one entry.
  if (dll == nullptr || dll[0] == '\0') {
    stack.push_back({nullptr, nullptr, id, true, ""});
    return TRUE;
  }
  if (StfWindowless()) {
    stack.push_back({nullptr, nullptr, id, true, ""});
    return TRUE;
  }
  HWND window = CreateStackDialog(dll, id, dll, proc, HwndFrame());
  if (window == nullptr) return FALSE;
  UpdateWindow(window);
  return TRUE;
}

HWND STFAPI StfTopDialog(void) { return TopWindow(HwndFrame()); }

}  // extern "C"
