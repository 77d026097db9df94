// The toolkit's operations, scripted (see fake_toolkit.h).
#include "tests/fakes/fake_toolkit.h"

#include <cctype>
#include <cstring>
#include <stdexcept>

#include "image_kind.h"
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

HINSTANCE STFAPI HinstFrame(void) {
  Record("HinstFrame");
  return toolkit.frameInstance;
}
HWND STFAPI HwndFrame(void) {
  Record("HwndFrame");
  return toolkit.frameWindow;
}
HCURSOR STFAPI HShowWaitCursor(void) {
  Record("HShowWaitCursor");
  return toolkit.previousCursor;
}
BOOL STFAPI FSetSymbolValue(LPCSTR name, LPCSTR value) {
  Record("FSetSymbolValue", name, value);
  BOOL ok = static_cast<BOOL>(Answer("FSetSymbolValue", 1));
  if (ok) fake::SetSymbol(name, value ? value : "");
  return ok;
}

// ---- MSCOMSTF.dll ----

INT STFAPI CbGetSymbolValue(LPCSTR name, LPSTR value, INT size) {
  Record("CbGetSymbolValue", name, size);
  std::string text = fake::Symbol(name);
  INT length = static_cast<INT>(text.size());
  if (length < size) std::memcpy(value, text.c_str(), text.size() + 1);
  return static_cast<INT>(Answer("CbGetSymbolValue", length));
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
INT STFAPI CbGetInfSectionKeyField(LPCSTR section, LPCSTR key, INT field, LPSTR buffer,
                                   INT size) {
  Record("CbGetInfSectionKeyField", section, key, field, size);
  return fake::AnswerText("CbGetInfSectionKeyField", buffer, size);
}
BOOL STFAPI FAddSectionFilesToCopyList(LPCSTR section, LPCSTR source, LPCSTR dest) {
  Record("FAddSectionFilesToCopyList", section, source, dest);
  BOOL ok = static_cast<BOOL>(Answer("FAddSectionFilesToCopyList", 1));
  if (!ok) return ok;
  toolkit.queuedDestinations.push_back(dest ? dest : "");
  std::string from = source ? source : "";
  if (!from.empty() && from.back() != '\\') from += '\\';
  for (const fake::Toolkit::FileRecord& r : toolkit.section) {
    const std::string name = r.installName.empty() ? r.diskName : r.installName;
    toolkit.copyList.push_back({from + r.diskName,
                                std::string(dest ? dest : "") + name, r.flags});
  }
  return ok;
}
BOOL STFAPI StfGetCopyListEntry(UINT n, LPCSTR* source, LPCSTR* target, LPDWORD flags) {
  Record("StfGetCopyListEntry", n);
  if (n == 0 || n > toolkit.copyList.size()) return FALSE;
  const fake::Toolkit::CopyEntry& entry = toolkit.copyList[n - 1];
  *source = entry.source.c_str();
  *target = entry.target.c_str();
  *flags = entry.flags;
  return TRUE;
}
BOOL STFAPI FParsePathIntoPieces(LPCSTR path, LPSTR vol, INT cbVol, LPSTR dir, INT cbDir,
                                 LPSTR file, INT cbFile) {
  Record("FParsePathIntoPieces", path, vol, cbVol, dir, cbDir, cbFile);
  fake::AnswerText("FParsePathIntoPieces", file, cbFile);
  return static_cast<BOOL>(Answer("FParsePathIntoPieces", 1));
}

// ---- MSINSSTF.dll ----

BOOL STFAPI ResetCopyList(void) {
  Record("ResetCopyList");
  toolkit.queuedDestinations.clear();
  toolkit.copyList.clear();
  return static_cast<BOOL>(Answer("ResetCopyList", 1));
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

// Files copied and removed in the fake machine; a file in use is removed at
// the next boot, which the restart list then holds.
BOOL STFAPI FCopyOneFile(LPCSTR source, LPCSTR target, UINT cmo, BOOL append) {
  Record("FCopyOneFile", source, target, cmo, append);
  BOOL ok = static_cast<BOOL>(Answer("FCopyOneFile", 1));
  auto found = fake::machine.files.find(fake::Upper(source));
  if (ok && found != fake::machine.files.end()) fake::AddFile(target, found->second);
  return ok;
}
INT STFAPI YnrcRemoveFile(LPCSTR file, UINT cmo) {
  Record("YnrcRemoveFile", file, cmo);
  INT ok = static_cast<INT>(Answer("YnrcRemoveFile", 1));
  if (!ok) return ok;
  if (fake::machine.filesInUse.count(fake::Upper(file)) && (cmo & cmoRestart)) {
    toolkit.restartQueue.push_back(file);
  } else {
    fake::machine.files.erase(fake::Upper(file));
  }
  return ok;
}
BOOL STFAPI FRestartListEmpty(void) {
  Record("FRestartListEmpty");
  return static_cast<BOOL>(Answer("FRestartListEmpty", toolkit.restartQueue.empty() ? 1 : 0));
}

// Carried out by the toolkit's own core over the fake machine's files.
DWORD STFAPI StfReadImageKind(LPCSTR file, LPWORD machine, LPWORD subsystem, LPWORD flags,
                              LPSTR problem, INT problemSize) {
  Record("StfReadImageKind", file, problemSize);
  auto found = fake::machine.files.find(fake::Upper(file));
  if (found == fake::machine.files.end()) return ERROR_FILE_NOT_FOUND;
  const std::string& bytes = found->second;
  stf::ImageKind kind;
  std::string why;
  const DWORD error = stf::ReadImageKind(
      [&bytes](std::uint64_t offset, void* buffer, std::size_t size, std::size_t* got) {
        *got = offset >= bytes.size() ? 0 : std::min<std::size_t>(size, bytes.size() - offset);
        if (*got != 0) std::memcpy(buffer, bytes.data() + offset, *got);
        return 0ul;
      },
      &kind, &why);
  *machine = kind.machine;
  *subsystem = kind.subsystem;
  *flags = kind.characteristics;
  if (problemSize > 0) {
    why.resize(std::min<std::size_t>(why.size(), static_cast<std::size_t>(problemSize) - 1));
    std::memcpy(problem, why.c_str(), why.size() + 1);
  }
  return error;
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

// Every other operation only records its call and answers as scripted, by
// default what its line in the export tables says.
#define STF_COMMA_ARGUMENTS(...) __VA_OPT__(, ) __VA_ARGS__
#define STF_FAKE_OWN(result, name, parameters, arguments)
#define STF_FAKE_ANSWER(result, name, parameters, arguments, answer) \
  result STFAPI name parameters {                                     \
    Record(#name STF_COMMA_ARGUMENTS arguments);                      \
    return static_cast<result>(Answer(#name, answer));                \
  }
#define STF_FAKE_0(result, name, parameters, arguments) \
  STF_FAKE_ANSWER(result, name, parameters, arguments, 0)
#define STF_FAKE_1(result, name, parameters, arguments) \
  STF_FAKE_ANSWER(result, name, parameters, arguments, 1)
#define STF_OP(result, name, parameters, arguments, fake) \
  STF_FAKE_##fake(result, name, parameters, arguments)
#define STF_OWN(result, name, parameters, arguments)
#define STF_BYNAME(result, name, parameters, arguments)
#include "contract/exports.h"

}  // extern "C"
