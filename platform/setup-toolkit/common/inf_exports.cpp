// The INF file and the copy list built from it.
#include <cstring>

#include "platform/setup-toolkit/common/common_state.h"
#include "setup_log.h"

// Unicode INF text in the system's code page; a character it lacks becomes
// its default character, which no file name may hold.
static bool WideToAnsiText(const char16_t* text, std::size_t length, std::string* out) {
  out->clear();
  if (length == 0) return true;
  const wchar_t* wide = reinterpret_cast<const wchar_t*>(text);
  const int count = static_cast<int>(length);
  const int bytes = WideCharToMultiByte(CP_ACP, 0, wide, count, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return false;
  out->resize(static_cast<std::size_t>(bytes));
  return WideCharToMultiByte(CP_ACP, 0, wide, count, &(*out)[0], bytes, nullptr, nullptr) == bytes;
}

static const stf::InfSection* SectionNamed(LPCSTR name) {
  if (!InfIsOpen() || name == nullptr) return nullptr;
  return stf::FindSection(OpenInf(), name);
}

static void ReportMissingSection(LPCSTR section) {
  ReportProblem("Section [" + std::string(section ? section : "") + "] was not found in " +
                (InfIsOpen() ? OpenInf().path : std::string("the INF file (none is open)")) +
                ".");
}

// Target paths compare as the system compares file names, without case.
static std::string FoldedPath(const std::string& path) {
  std::string folded = path;
  if (!folded.empty()) CharUpperBuffA(&folded[0], static_cast<DWORD>(folded.size()));
  return folded;
}

static BOOL AddPlanned(const std::vector<stf::CopyEntry>& planned) {
  std::string clash;
  if (!ProcessCopyList().Add(planned, FoldedPath, &clash)) {
    ReportProblem("Two files would be installed as " + clash + ".");
    return FALSE;
  }
  return TRUE;
}

extern "C" {

// The file is read once: the bytes the disk's manifest judged are the ones parsed.
BOOL STFAPI FOpenInf(LPCSTR file, BOOL, BOOL) {
  stf::InfFile inf;
  stf::InfError error;
  const stf::InfDirectoryIds dirs = file ? InfDirectoriesFor(file) : stf::InfDirectoryIds();
  std::string bytes, why;
  const bool present = file != nullptr && GetFileAttributesA(file) != INVALID_FILE_ATTRIBUTES;
  if (present && !ReadDiskText(file, &bytes, &why)) {
    ReportProblem(why + ".");
    return FALSE;
  }
  if (!present ||
      !stf::LoadInfBytes(std::move(bytes), file, &inf, &error, StfIsLeadByte, WideToAnsiText,
                         &dirs)) {
    std::string text = file ? error.Text() : "no INF file named";
    if (file && GetFileAttributesA(file) == INVALID_FILE_ATTRIBUTES) {
      // The system's reason for this very file, not what reading it left.
      DWORD code = GetLastError();
      char reason[512];
      StfLogFailure(("Cannot open the INF file " + std::string(file)).c_str(), stf::kOperationRead,
                    file, code);
      text = "The setup information file " + std::string(file) + " cannot be opened:\n\n" +
             StfErrorText(code, reason, sizeof reason);
    }
    ReportProblem(text);
    return FALSE;
  }
  stf::ProcessSetupLog().Write("INF opened: " + std::string(file));
  if (inf.cutFields > 0) {
    stf::ProcessSetupLog().Write(
        "INF note: " + std::to_string(inf.cutFields) + " field(s) longer than " +
        std::to_string(stf::kInfMaxFieldChars) + " characters, the first at line " +
        std::to_string(inf.cutLine) + ", read as their first " +
        std::to_string(stf::kInfMaxFieldChars) + " characters, as Windows reads them.");
  }
  SetOpenInf(std::move(inf));
  return TRUE;
}

INT STFAPI CbGetInfSectionKeyField(LPCSTR section, LPCSTR key, INT field, LPSTR buffer,
                                   INT size) {
  const stf::InfSection* s = SectionNamed(section);
  const stf::InfLine* line = (s && key) ? stf::FindLine(OpenInf(), *s, key) : nullptr;
  static std::string scratch;  // for a field whose strings are replaced
  const char* text = nullptr;
  std::size_t length = 0;
  if (line == nullptr || !stf::FieldView(OpenInf(), *line, field, &scratch, &text, &length)) {
    return -1;
  }
  if (buffer != nullptr && length < static_cast<std::size_t>(size)) {
    std::memcpy(buffer, text, length);
    buffer[length] = '\0';
  }
  return static_cast<INT>(length);
}

BOOL STFAPI FSetSymbolToListOfInfKeys(LPCSTR symbol, LPCSTR section, BOOL keepKeyless) {
  const stf::InfSection* s = SectionNamed(section);
  if (s == nullptr || symbol == nullptr) return FALSE;
  std::vector<std::string> keys;
  for (const stf::InfLine& line : s->lines) {
    std::string key = stf::LineKey(OpenInf(), line);
    if (!key.empty() || keepKeyless) keys.push_back(std::move(key));
  }
  return Symbols().SetList(symbol, keys);
}

BOOL STFAPI FMakeListInfSectionField(LPCSTR symbol, LPCSTR section, INT field) {
  const stf::InfSection* s = SectionNamed(section);
  if (s == nullptr || symbol == nullptr) return FALSE;
  std::vector<std::string> items;
  for (const stf::InfLine& line : s->lines) {
    std::string text;
    stf::GetField(OpenInf(), line, field, &text);  // a line without the field gives an empty item
    items.push_back(text);
  }
  return Symbols().SetList(symbol, items);
}

BOOL STFAPI FAddSectionFilesToCopyList(LPCSTR section, LPCSTR src, LPCSTR dest) {
  if (SectionNamed(section) == nullptr) {
    ReportMissingSection(section);
    return FALSE;
  }
  std::vector<stf::CopyEntry> planned;
  stf::InfError error;
  if (!stf::PlanCopyList(OpenInf(), section, src ? src : "", dest ? dest : "", StfIsLeadByte,
                         &planned, &error)) {
    ReportProblem(error.Text());
    return FALSE;
  }
  return AddPlanned(planned);
}

BOOL STFAPI FAddSectionKeyFileToCopyList(LPCSTR section, LPCSTR key, LPCSTR src, LPCSTR dest) {
  const stf::InfSection* s = SectionNamed(section);
  const stf::InfLine* line = (s && key) ? stf::FindLine(OpenInf(), *s, key) : nullptr;
  if (line == nullptr) {
    ReportProblem("Line " + std::string(key ? key : "") + " of section [" +
                  std::string(section ? section : "") + "] was not found.");
    return FALSE;
  }
  stf::CopyEntry entry;
  stf::InfError error;
  if (!stf::PlanCopyLine(OpenInf(), *line, src ? src : "", dest ? dest : "", StfIsLeadByte,
                         &entry, &error)) {
    ReportProblem(error.Text());
    return FALSE;
  }
  return AddPlanned({entry});
}

BOOL STFAPI FAddSpecialFileToCopyList(LPCSTR section, LPCSTR key, LPCSTR src, LPCSTR dest) {
  return FAddSectionKeyFileToCopyList(section, key, src, dest);
}

const stf::CopyEntryView* STFAPI StfCopyListEntries(INT* count) {
  std::size_t n = 0;
  const stf::CopyEntryView* entries = ProcessCopyList().Views(&n);
  if (count) *count = static_cast<INT>(n);
  return entries;
}

void STFAPI StfClearCopyList(void) { ProcessCopyList().Clear(); }

BOOL STFAPI StfGetCopyListEntry(UINT n, LPCSTR* source, LPCSTR* target, LPDWORD flags) {
  std::size_t count = 0;
  const stf::CopyEntryView* entries = ProcessCopyList().Views(&count);
  if (n == 0 || n > count) return FALSE;
  const stf::CopyEntryView& entry = entries[n - 1];
  if (source) *source = entry.source;
  if (target) *target = entry.target;
  if (flags) *flags = entry.flags;
  return TRUE;
}

}  // extern "C"
