// The toolkit's operations, scripted (see fake_toolkit.h).
#include "tests/fakes/fake_toolkit.h"

#include <cctype>
#include <cstring>
#include <stdexcept>

#include "tests/fakes/fake_windows.h"
#include "tests/fakes/transcript.h"
#include "contract/toolkit_api.h"

namespace fake {

Toolkit toolkit;

static std::string Upper(const char* text) {
  std::string out = text ? text : "";
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

void ResetToolkit() { toolkit = Toolkit{}; }

void Queue(const std::string& op, const std::vector<long>& results) {
  toolkit.queued[op].insert(toolkit.queued[op].end(), results.begin(), results.end());
}

void Always(const std::string& op, long result) { toolkit.fixed[op] = result; }

void Events(unsigned dialogId, const std::vector<std::string>& words) {
  toolkit.events[dialogId].insert(toolkit.events[dialogId].end(), words.begin(), words.end());
}

void QueueText(const std::string& op, const std::string& text) { toolkit.texts[op].push_back(text); }

void SetSymbol(const std::string& name, const std::string& value) {
  toolkit.symbols[Upper(name.c_str())] = value;
}

std::string Symbol(const std::string& name) {
  auto it = toolkit.symbols.find(Upper(name.c_str()));
  return it == toolkit.symbols.end() ? std::string() : it->second;
}

long Answer(const std::string& op, long defaultResult) {
  auto queued = toolkit.queued.find(op);
  if (queued != toolkit.queued.end() && !queued->second.empty()) {
    long result = queued->second.front();
    queued->second.pop_front();
    return result;
  }
  auto fixed = toolkit.fixed.find(op);
  return fixed != toolkit.fixed.end() ? fixed->second : defaultResult;
}

// A bounded text query: writes the scripted text when it fits, answers its
// length unless a result is scripted.
static INT AnswerText(const std::string& op, LPSTR buffer, INT size) {
  std::string text;
  auto& queue = toolkit.texts[op];
  bool written = !queue.empty();
  if (written) {
    text = queue.front();
    queue.pop_front();
  }
  INT length = static_cast<INT>(text.size());
  if (written && buffer != nullptr && length < size) std::memcpy(buffer, text.c_str(), text.size() + 1);
  return static_cast<INT>(Answer(op, length));
}

}  // namespace fake

using fake::Answer;
using fake::Record;
using fake::toolkit;

extern "C" {

// ---- MSSHLSTF.dll ----

INT STFAPI InitializeFrame(LPSTR cmdLine) {
  Record("InitializeFrame", cmdLine);
  return static_cast<INT>(Answer("InitializeFrame", 1));
}
BOOL STFAPI TerminateFrame(void) {
  Record("TerminateFrame");
  return static_cast<BOOL>(Answer("TerminateFrame", 1));
}
HINSTANCE STFAPI HinstFrame(void) {
  Record("HinstFrame");
  return toolkit.frameInstance;
}
HWND STFAPI HwndFrame(void) {
  Record("HwndFrame");
  return toolkit.frameWindow;
}
BOOL STFAPI FSetBitmap(LPCSTR dll, UINT id) {
  Record("FSetBitmap", dll, id);
  return static_cast<BOOL>(Answer("FSetBitmap", 1));
}
BOOL STFAPI FSetAbout(LPCSTR text, LPCSTR caption) {
  Record("FSetAbout", text, caption);
  return static_cast<BOOL>(Answer("FSetAbout", 1));
}
HCURSOR STFAPI HShowWaitCursor(void) {
  Record("HShowWaitCursor");
  return toolkit.previousCursor;
}
BOOL STFAPI FRestoreCursor(HCURSOR cursor) {
  Record("FRestoreCursor", cursor);
  return static_cast<BOOL>(Answer("FRestoreCursor", 1));
}
BOOL STFAPI FSetSymbolValue(LPCSTR name, LPCSTR value) {
  Record("FSetSymbolValue", name, value);
  BOOL ok = static_cast<BOOL>(Answer("FSetSymbolValue", 1));
  if (ok) fake::SetSymbol(name, value ? value : "");
  return ok;
}

// ---- MSCOMSTF.dll ----

BOOL STFAPI FOpenInf(LPCSTR file, BOOL check, BOOL checkSyms) {
  Record("FOpenInf", file, check, checkSyms);
  return static_cast<BOOL>(Answer("FOpenInf", 1));
}
INT STFAPI CbGetSymbolValue(LPCSTR name, LPSTR value, INT size) {
  Record("CbGetSymbolValue", name, size);
  std::string text = fake::Symbol(name);
  INT length = static_cast<INT>(text.size());
  if (length < size) std::memcpy(value, text.c_str(), text.size() + 1);
  return static_cast<INT>(Answer("CbGetSymbolValue", length));
}
BOOL STFAPI FRemoveSymbol(LPCSTR name) {
  Record("FRemoveSymbol", name);
  return static_cast<BOOL>(Answer("FRemoveSymbol", 1));
}
BOOL STFAPI FAddListItem(LPCSTR list, LPCSTR item) {
  Record("FAddListItem", list, item);
  return static_cast<BOOL>(Answer("FAddListItem", 1));
}
BOOL STFAPI FReplaceListItem(LPCSTR list, UINT n, LPCSTR item) {
  Record("FReplaceListItem", list, n, item);
  return static_cast<BOOL>(Answer("FReplaceListItem", 1));
}
UINT STFAPI UsGetListLength(LPCSTR list) {
  Record("UsGetListLength", list);
  auto it = toolkit.lists.find(fake::Upper(list));
  long length = it == toolkit.lists.end() ? 0 : static_cast<long>(it->second.size());
  return static_cast<UINT>(Answer("UsGetListLength", length));
}
INT STFAPI CbGetListItem(LPCSTR list, UINT n, LPSTR item, INT size) {
  Record("CbGetListItem", list, n, size);
  auto it = toolkit.lists.find(fake::Upper(list));
  if (it != toolkit.lists.end() && n >= 1 && n <= it->second.size()) {
    fake::QueueText("CbGetListItem", it->second[n - 1]);
  }
  return fake::AnswerText("CbGetListItem", item, size);
}
BOOL STFAPI FSetSymbolToListOfInfKeys(LPCSTR symbol, LPCSTR section, BOOL nulls) {
  Record("FSetSymbolToListOfInfKeys", symbol, section, nulls);
  return static_cast<BOOL>(Answer("FSetSymbolToListOfInfKeys", 1));
}
BOOL STFAPI FMakeListInfSectionField(LPCSTR symbol, LPCSTR section, INT field) {
  Record("FMakeListInfSectionField", symbol, section, field);
  return static_cast<BOOL>(Answer("FMakeListInfSectionField", 1));
}
INT STFAPI CbGetInfSectionKeyField(LPCSTR section, LPCSTR key, INT field, LPSTR buffer,
                                   INT size) {
  Record("CbGetInfSectionKeyField", section, key, field, size);
  return fake::AnswerText("CbGetInfSectionKeyField", buffer, size);
}
BOOL STFAPI FAddSectionFilesToCopyList(LPCSTR section, LPCSTR source, LPCSTR dest) {
  Record("FAddSectionFilesToCopyList", section, source, dest);
  BOOL ok = static_cast<BOOL>(Answer("FAddSectionFilesToCopyList", 1));
  if (ok) toolkit.queuedDestinations.push_back(dest ? dest : "");
  return ok;
}
BOOL STFAPI FAddSectionKeyFileToCopyList(LPCSTR section, LPCSTR key, LPCSTR source,
                                         LPCSTR dest) {
  Record("FAddSectionKeyFileToCopyList", section, key, source, dest);
  return static_cast<BOOL>(Answer("FAddSectionKeyFileToCopyList", 1));
}
BOOL STFAPI FAddSpecialFileToCopyList(LPCSTR section, LPCSTR key, LPCSTR source, LPCSTR dest) {
  Record("FAddSpecialFileToCopyList", section, key, source, dest);
  return static_cast<BOOL>(Answer("FAddSpecialFileToCopyList", 1));
}
BOOL STFAPI FOpenLogFile(LPCSTR file, BOOL append) {
  Record("FOpenLogFile", file, append);
  return static_cast<BOOL>(Answer("FOpenLogFile", 1));
}
BOOL STFAPI FCloseLogFile(void) {
  Record("FCloseLogFile");
  return static_cast<BOOL>(Answer("FCloseLogFile", 1));
}
BOOL STFAPI FWriteToLogFile(LPCSTR text, BOOL request) {
  Record("FWriteToLogFile", text, request);
  return static_cast<BOOL>(Answer("FWriteToLogFile", 1));
}
BOOL STFAPI FSetBeepingMode(BOOL beep) {
  Record("FSetBeepingMode", beep);
  return static_cast<BOOL>(Answer("FSetBeepingMode", 0));
}
BOOL STFAPI FSetSilent(BOOL silent) {
  Record("FSetSilent", silent);
  return static_cast<BOOL>(Answer("FSetSilent", 0));
}
INT STFAPI DoMsgBox(LPCSTR text, LPCSTR caption, UINT style) {
  Record("DoMsgBox", text, caption, style);
  return static_cast<INT>(Answer("DoMsgBox", 1));
}
INT STFAPI EercErrorHandler(INT grc, BOOL vital, LPCSTR a, LPCSTR b, LPCSTR c) {
  Record("EercErrorHandler", grc, vital, a, b, c);
  return static_cast<INT>(Answer("EercErrorHandler", 0));
}
BOOL STFAPI FValidPath(LPCSTR path) {
  Record("FValidPath", path);
  return static_cast<BOOL>(Answer("FValidPath", 1));
}
BOOL STFAPI FValidDir(LPCSTR dir) {
  Record("FValidDir", dir);
  return static_cast<BOOL>(Answer("FValidDir", 1));
}
BOOL STFAPI FParsePathIntoPieces(LPCSTR path, LPSTR vol, INT cbVol, LPSTR dir, INT cbDir,
                                 LPSTR file, INT cbFile) {
  Record("FParsePathIntoPieces", path, vol, cbVol, dir, cbDir, cbFile);
  fake::AnswerText("FParsePathIntoPieces", file, cbFile);
  return static_cast<BOOL>(Answer("FParsePathIntoPieces", 1));
}

// ---- MSINSSTF.dll ----

BOOL STFAPI FInitializeInstall(HINSTANCE hinst, HWND hwnd) {
  Record("FInitializeInstall", hinst, hwnd);
  return static_cast<BOOL>(Answer("FInitializeInstall", 1));
}
BOOL STFAPI TerminateInstall(void) {
  Record("TerminateInstall");
  return static_cast<BOOL>(Answer("TerminateInstall", 1));
}
BOOL STFAPI ResetCopyList(void) {
  Record("ResetCopyList");
  toolkit.queuedDestinations.clear();
  return static_cast<BOOL>(Answer("ResetCopyList", 1));
}
BOOL STFAPI FAddToBillboardList(LPCSTR dll, UINT id, LPCSTR proc, LONG ticks) {
  Record("FAddToBillboardList", dll, id, proc, ticks);
  return static_cast<BOOL>(Answer("FAddToBillboardList", 1));
}
BOOL STFAPI FClearBillboardList(void) {
  Record("FClearBillboardList");
  return static_cast<BOOL>(Answer("FClearBillboardList", 1));
}
BOOL STFAPI ProSetPos(INT x, INT y) {
  Record("ProSetPos", x, y);
  return static_cast<BOOL>(Answer("ProSetPos", 1));
}
INT STFAPI GrcCopyFilesInCopyList(HINSTANCE hinst) {
  Record("GrcCopyFilesInCopyList", hinst);
  INT grc = static_cast<INT>(Answer("GrcCopyFilesInCopyList", 0));
  if (grc > 0) return grc;
  toolkit.dialogStack.push_back(5000);  // the billboard stays up
  for (const std::string& dir : toolkit.queuedDestinations) {
    for (const std::string& file : toolkit.sectionFiles) fake::AddFile(dir + file);
  }
  return grc;
}
LONG STFAPI LcbGetCopyListCost(LPCSTR extra, LPCSTR cost, LPCSTR need) {
  Record("LcbGetCopyListCost", extra, cost, need);
  return static_cast<LONG>(Answer("LcbGetCopyListCost", 0));
}

#define FAKE_GUARDED(name, params, ...)         \
  BOOL STFAPI name params {                     \
    Record(#name, __VA_ARGS__);                 \
    return static_cast<BOOL>(Answer(#name, 1)); \
  }
#define FAKE_GUARDED0(name)                     \
  BOOL STFAPI name(void) {                      \
    Record(#name);                              \
    return static_cast<BOOL>(Answer(#name, 1)); \
  }

FAKE_GUARDED(FCreateDir, (LPCSTR d, UINT m), d, m)
FAKE_GUARDED(FRemoveDir, (LPCSTR d, UINT m), d, m)
FAKE_GUARDED(FRemoveIniSection, (LPCSTR f, LPCSTR s, UINT m), f, s, m)
FAKE_GUARDED(FCreateIniKeyValue, (LPCSTR f, LPCSTR s, LPCSTR k, LPCSTR v, UINT m), f, s, k, v, m)
FAKE_GUARDED(FRemoveIniKey, (LPCSTR f, LPCSTR s, LPCSTR k, UINT m), f, s, k, m)
FAKE_GUARDED(FCreateSysIniKeyValue, (LPCSTR f, LPCSTR s, LPCSTR k, LPCSTR v, UINT m), f, s, k, v,
             m)
FAKE_GUARDED(FCreateProgManGroup, (LPCSTR g, LPCSTR p, UINT m), g, p, m)
FAKE_GUARDED(FCreateProgManGroupEx, (LPCSTR g, LPCSTR p, UINT m), g, p, m)
FAKE_GUARDED(FShowProgManGroup, (LPCSTR g, LPCSTR c, UINT m), g, c, m)
FAKE_GUARDED(FShowProgManGroupEx, (LPCSTR g, LPCSTR p, LPCSTR c, UINT m), g, p, c, m)
FAKE_GUARDED(FCreateProgManItem, (LPCSTR g, LPCSTR i, LPCSTR c, UINT m), g, i, c, m)
FAKE_GUARDED(FCreateProgManItemEx, (LPCSTR g, LPCSTR p, LPCSTR i, LPCSTR c, UINT m), g, p, i, c,
             m)
FAKE_GUARDED(FStampResource,
             (LPCSTR s, LPCSTR k, LPCSTR d, UINT t, UINT i, LPCSTR data, INT cb), s, k, d, t, i,
             data, cb)
FAKE_GUARDED(FDumpCopyListToFile, (LPCSTR f), f)
FAKE_GUARDED(FSetRestartDir, (LPCSTR d), d)
FAKE_GUARDED(FPrependToPath, (LPCSTR f, LPCSTR d, LPCSTR dir, UINT m), f, d, dir, m)
FAKE_GUARDED(FCopyOneFile, (LPCSTR s, LPCSTR d, UINT m, BOOL a), s, d, m, a)
FAKE_GUARDED(FIsDirWritable, (LPCSTR d), d)
FAKE_GUARDED(FIsFileWritable, (LPCSTR f), f)
FAKE_GUARDED0(FRestartListEmpty)
FAKE_GUARDED0(FExitExecRestart)

INT STFAPI YnrcRemoveFile(LPCSTR file, UINT cmo) {
  Record("YnrcRemoveFile", file, cmo);
  return static_cast<INT>(Answer("YnrcRemoveFile", 1));
}
INT STFAPI YnrcBackupFile(LPCSTR file, LPCSTR backup, UINT cmo) {
  Record("YnrcBackupFile", file, backup, cmo);
  return static_cast<INT>(Answer("YnrcBackupFile", 1));
}
INT STFAPI WFindFileUsingFileOpen(LPCSTR file, LPSTR buffer, INT size) {
  Record("WFindFileUsingFileOpen", file, size);
  INT written = fake::AnswerText("WFindFileUsingFileOpen.text", buffer, size);
  (void)written;
  return static_cast<INT>(Answer("WFindFileUsingFileOpen", 0));
}

// ---- MSUILSTF.dll ----

BOOL STFAPI FDoDialogExt(HWND parent, LPCSTR dll, UINT id, LPCSTR proc, LPCSTR procDll,
                         LONG data1, LONG data2) {
  Record("FDoDialogExt", parent, dll, id, proc, procDll, data1, data2);
  BOOL ok = static_cast<BOOL>(Answer("FDoDialogExt", 1));
  if (!ok) return FALSE;
  auto& words = toolkit.events[id];
  if (words.empty()) throw std::logic_error("no event scripted for dialog " + std::to_string(id));
  fake::SetSymbol("DLGEVENT", words.front());
  words.pop_front();
  toolkit.dialogStack.push_back(id);
  if (toolkit.onDialog) toolkit.onDialog(id);
  return TRUE;
}

BOOL STFAPI FKillNDialogs(INT n) {
  Record("FKillNDialogs", n);
  BOOL ok = static_cast<BOOL>(Answer("FKillNDialogs", 1));
  if (!ok) return FALSE;
  auto& stack = toolkit.dialogStack;
  size_t count = n < 0 ? stack.size() : std::min(stack.size(), static_cast<size_t>(n));
  stack.resize(stack.size() - count);
  return TRUE;
}

// ---- MSDETSTF.dll ----

FAKE_GUARDED(FIsValidDrive, (INT d), d)
FAKE_GUARDED(FIsLocalHardDrive, (INT d), d)
FAKE_GUARDED(FIsRemoveDrive, (INT d), d)
FAKE_GUARDED(FIsRemoteDrive, (INT d), d)
FAKE_GUARDED(FGetValidDrivesList, (LPCSTR s), s)
FAKE_GUARDED(FGetLocalHardDrivesList, (LPCSTR s), s)
FAKE_GUARDED(FGetRemovableDrivesList, (LPCSTR s), s)
FAKE_GUARDED(FGetNetworkDrivesList, (LPCSTR s), s)
FAKE_GUARDED(FGetParallelPortsList, (LPCSTR s), s)
FAKE_GUARDED(FGetSerialPortsList, (LPCSTR s), s)
FAKE_GUARDED(FDoesFileExist, (LPCSTR f, INT m), f, m)
FAKE_GUARDED(FIsDriverInConfig, (LPCSTR d), d)
FAKE_GUARDED0(FHas87MathChip)
FAKE_GUARDED0(FHasMonochromeDisplay)
FAKE_GUARDED0(FHasMouseInstalled)
FAKE_GUARDED(FDirExists, (LPCSTR d), d)
FAKE_GUARDED(FDoesIniSectionExist, (LPCSTR f, LPCSTR s), f, s)
FAKE_GUARDED(FDoesIniKeyExist, (LPCSTR f, LPCSTR s, LPCSTR k), f, s, k)

LONG STFAPI LcbTotalDrive(INT drive) {
  Record("LcbTotalDrive", drive);
  return static_cast<LONG>(Answer("LcbTotalDrive", 0));
}
LONG STFAPI LcbFreeDrive(INT drive) {
  Record("LcbFreeDrive", drive);
  return static_cast<LONG>(Answer("LcbFreeDrive", 0));
}
LONG STFAPI LGetVersionNthField(LPCSTR version, INT field) {
  Record("LGetVersionNthField", version, field);
  return static_cast<LONG>(Answer("LGetVersionNthField", 0));
}
LONG STFAPI LcbGetSizeOfFile(LPCSTR file) {
  Record("LcbGetSizeOfFile", file);
  return static_cast<LONG>(Answer("LcbGetSizeOfFile", 0));
}

#define FAKE_TEXT_QUERY(name, params, buffer, size, ...)        \
  INT STFAPI name params {                                       \
    Record(#name, __VA_ARGS__);                                  \
    return fake::AnswerText(#name, buffer, size);                \
  }

FAKE_TEXT_QUERY(CbGetIniKeyString, (LPCSTR f, LPCSTR s, LPCSTR k, LPSTR b, INT cb), b, cb, f, s,
                k, cb)
FAKE_TEXT_QUERY(CbGetEnvVariableValue, (LPCSTR v, LPSTR b, INT cb), b, cb, v, cb)
FAKE_TEXT_QUERY(CbGetVersionOfFile, (LPCSTR f, LPSTR b, INT cb), b, cb, f, cb)
FAKE_TEXT_QUERY(CbFindTargetOnEnvVar, (LPCSTR f, LPCSTR v, LPSTR b, INT cb), b, cb, f, v, cb)
FAKE_TEXT_QUERY(CbGetDateOfFile, (LPCSTR f, LPSTR b, INT cb), b, cb, f, cb)
FAKE_TEXT_QUERY(CbFindFileInTree, (LPCSTR f, LPCSTR d, LPSTR b, INT cb), b, cb, f, d, cb)

BOOL STFAPI FGetProcessorType(LPCSTR machineName, INT reserved, LPSTR buffer, INT size) {
  Record("FGetProcessorType", machineName, reserved, size);
  fake::AnswerText("FGetProcessorType.text", buffer, size);
  return static_cast<BOOL>(Answer("FGetProcessorType", 1));
}

}  // extern "C"
