#include "toolkit/wrappers.h"

#include "support/path_join.h"
#include "toolkit/setup_lifecycle.h"
#include "contract/toolkit_api.h"

// The guarded form: any zero answer of the toolkit is fatal.
template <auto Operation, typename... Args>
static void Guarded(Args... args) {
  if (!Operation(args...)) FatalSetupError();
}

void AppendListItem(LPCSTR list, LPCSTR item) { Guarded<FAddListItem>(list, item); }
void OverwriteListItem(LPCSTR list, UINT n, LPCSTR item) { Guarded<FReplaceListItem>(list, n, item); }
void StoreSymbolValue(LPCSTR symbol, LPCSTR value) { Guarded<FSetSymbolValue>(symbol, value); }
void DeleteSymbol(LPCSTR symbol) { Guarded<FRemoveSymbol>(symbol); }
void MakeDirectory(LPCSTR dir, UINT options) { Guarded<FCreateDir>(dir, options); }
void DeleteDirectory(LPCSTR dir, UINT options) { Guarded<FRemoveDir>(dir, options); }
void DeleteIniSection(LPCSTR file, LPCSTR section, UINT options) {
  Guarded<FRemoveIniSection>(file, section, options);
}
void WriteIniValue(LPCSTR file, LPCSTR section, LPCSTR key, LPCSTR value, UINT options) {
  Guarded<FCreateIniKeyValue>(file, section, key, value, options);
}
void DeleteIniKey(LPCSTR file, LPCSTR section, LPCSTR key, UINT options) {
  Guarded<FRemoveIniKey>(file, section, key, options);
}
void WriteSystemIniValue(LPCSTR file, LPCSTR section, LPCSTR key, LPCSTR value, UINT options) {
  Guarded<FCreateSysIniKeyValue>(file, section, key, value, options);
}
void MakeProgramGroup(LPCSTR group, LPCSTR path, UINT options) {
  Guarded<FCreateProgManGroup>(group, path, options);
}
void MakeProgramGroupEx(LPCSTR group, LPCSTR path, UINT options) {
  Guarded<FCreateProgManGroupEx>(group, path, options);
}
void StampFileResource(LPCSTR section, LPCSTR key, LPCSTR dst, UINT resType, UINT resId,
                       LPCSTR data, INT cbData) {
  Guarded<FStampResource>(section, key, dst, resType, resId, data, cbData);
}
void WriteCopyListToFile(LPCSTR file) { Guarded<FDumpCopyListToFile>(file); }
void EraseFile(LPCSTR file, UINT options) { Guarded<YnrcRemoveFile>(file, options); }
void QueueSectionKeyFile(LPCSTR section, LPCSTR key, LPCSTR src, LPCSTR dst) {
  Guarded<FAddSectionKeyFileToCopyList>(section, key, src, dst);
}
void QueueSpecialFile(LPCSTR section, LPCSTR key, LPCSTR src, LPCSTR dst) {
  Guarded<FAddSpecialFileToCopyList>(section, key, src, dst);
}
void DropAllBillboards(void) { Guarded<FClearBillboardList>(); }
void OpenSetupLog(LPCSTR file, BOOL append) { Guarded<FOpenLogFile>(file, append); }
void CloseSetupLog(void) { Guarded<FCloseLogFile>(); }
void ChooseRestartDirectory(LPCSTR dir) { Guarded<FSetRestartDir>(dir); }
void PrependPathEntry(LPCSTR file, LPCSTR dst, LPCSTR dir, UINT options) {
  Guarded<FPrependToPath>(file, dst, dir, options);
}

// ---- prepared calls ----

void FillSymbolWithSectionKeys(LPCSTR symbol, LPCSTR section) {
  Guarded<FSetSymbolToListOfInfKeys>(symbol, section, TRUE);
}
void CollectDiskNames(LPCSTR symbol, LPCSTR section) {
  Guarded<FMakeListInfSectionField>(symbol, section, 1);
}
void CollectInstallNames(LPCSTR symbol, LPCSTR section) {
  Guarded<FMakeListInfSectionField>(symbol, section, 2);
}
void CollectDescriptions(LPCSTR symbol, LPCSTR section) {
  Guarded<FMakeListInfSectionField>(symbol, section, 5);
}
void CollectFileFlags(LPCSTR symbol, LPCSTR section) {
  Guarded<FMakeListInfSectionField>(symbol, section, 15);
}
void CollectFileVersions(LPCSTR symbol, LPCSTR section) {
  Guarded<FMakeListInfSectionField>(symbol, section, 19);
}
void SaveFileBackup(LPCSTR file, LPCSTR backup) { Guarded<YnrcBackupFile>(file, backup, 0u); }
void AddBlankBillboard(LONG ticks) {
  Guarded<FAddToBillboardList>(static_cast<LPCSTR>(nullptr), 0u, static_cast<LPCSTR>(nullptr),
                               ticks);
}
void WriteSetupLog(LPCSTR text) { Guarded<FWriteToLogFile>(text, TRUE); }
void CopySingleFile(LPCSTR src, LPCSTR dst, UINT options, BOOL append) {
  Guarded<FCopyOneFile>(src, dst, options | cmoOverwrite, append);
}

// The show command travels as decimal text.
static LPSTR DecimalText(INT value, char (&buffer)[256]) {
  wsprintfA(buffer, "%d", value);
  return buffer;
}

void DisplayProgramGroup(LPCSTR group, INT showCommand, UINT options) {
  char text[256];
  Guarded<FShowProgManGroup>(group, static_cast<LPCSTR>(DecimalText(showCommand, text)), options);
}
void DisplayProgramGroupEx(LPCSTR group, LPCSTR path, INT showCommand, UINT options) {
  char text[256];
  Guarded<FShowProgManGroupEx>(group, path, static_cast<LPCSTR>(DecimalText(showCommand, text)),
                               options);
}

// "item,extra" when there is an extra text, else the item unchanged; the
// caller's buffer holds the join.
static LPCSTR JoinedItem(LPCSTR item, LPCSTR extra, LPSTR buffer, int size) {
  if (extra == nullptr || extra[0] == '\0') return item;
  if (!JoinPathParts(buffer, size, item, ",", extra)) FailWithBufferOverflow();
  return buffer;
}

void MakeProgramItem(LPCSTR group, LPCSTR item, LPCSTR cmd, LPCSTR extra, UINT options) {
  char joined[768];
  Guarded<FCreateProgManItem>(group, JoinedItem(item, extra, joined, sizeof joined), cmd, options);
}
void MakeProgramItemEx(LPCSTR group, LPCSTR path, LPCSTR item, LPCSTR cmd, LPCSTR extra,
                       UINT options) {
  char joined[768];
  Guarded<FCreateProgManItemEx>(group, path, JoinedItem(item, extra, joined, sizeof joined), cmd,
                                options);
}

// ---- guarded reads ----

UINT CountListItems(LPCSTR list) {
  if (list == nullptr || list[0] == '\0') FatalSetupError();
  return UsGetListLength(list);
}

LPSTR ReadListItem(LPCSTR list, INT index, LPSTR buffer, INT size) {
  if (list == nullptr || list[0] == '\0') FatalSetupError();
  if (index < 1) FatalSetupError();
  if (static_cast<INT>(CountListItems(list)) < index) FatalSetupError();
  if (CbGetListItem(list, static_cast<UINT>(index), buffer, size) >= size) FailWithBufferOverflow();
  return buffer;
}

std::string ListItemText(LPCSTR list, INT index) {
  if (list == nullptr || list[0] == '\0' || index < 1) FatalSetupError();
  if (static_cast<INT>(CountListItems(list)) < index) FatalSetupError();
  std::string text(64, '\0');
  for (;;) {
    const INT length = CbGetListItem(list, static_cast<UINT>(index), &text[0],
                                     static_cast<INT>(text.size()));
    if (length < 0) FatalSetupError();
    if (length < static_cast<INT>(text.size())) return text.substr(0, static_cast<std::size_t>(length));
    text.assign(static_cast<std::size_t>(length) + 1, '\0');
  }
}

static LPSTR ReadInfField(LPCSTR section, LPCSTR key, INT field, LPSTR buffer, INT size) {
  INT length = CbGetInfSectionKeyField(section, key, field, buffer, size);
  if (length >= size) FailWithBufferOverflow();
  if (length == -1) FatalSetupError();
  return buffer;
}

LPSTR ReadInfField1(LPCSTR section, LPCSTR key, LPSTR buffer, INT size) {
  return ReadInfField(section, key, 1, buffer, size);
}
LPSTR ReadInfField5(LPCSTR section, LPCSTR key, LPSTR buffer, INT size) {
  return ReadInfField(section, key, 5, buffer, size);
}
LPSTR ReadInfField19(LPCSTR section, LPCSTR key, LPSTR buffer, INT size) {
  return ReadInfField(section, key, 19, buffer, size);
}

// Leading white space, one sign, then digits; no digits give 0. Saturates
// instead of overflowing on absurdly long digit runs.
static INT DecimalValue(LPCSTR text) {
  while (*text == ' ' || (*text >= '\t' && *text <= '\r')) ++text;
  bool negative = *text == '-';
  if (*text == '+' || *text == '-') ++text;
  long long value = 0;
  for (; *text >= '0' && *text <= '9'; ++text) {
    value = value * 10 + (*text - '0');
    if (value > 2147483648LL) value = 2147483648LL;
  }
  if (negative) value = -value;
  if (value > 2147483647LL) value = 2147483647LL;
  return static_cast<INT>(value);
}

INT ReadInfField15Number(LPCSTR section, LPCSTR key) {
  char field[128];
  return DecimalValue(ReadInfField(section, key, 15, field, 128));
}

LONG MeasureCopyListCost(LPCSTR extraList, LPCSTR costList, LPCSTR needList) {
  LONG cost = LcbGetCopyListCost(extraList, costList, needList);
  if (cost < 0) FatalSetupError();
  return cost;
}

LPSTR FindFileByOpening(LPCSTR file, LPSTR buffer, INT size) {
  if (buffer != nullptr) buffer[0] = ' ';
  INT result = WFindFileUsingFileOpen(file, buffer, size);
  if (result == 0) return buffer;
  if (buffer != nullptr) buffer[0] = '\0';
  if (result != 1) FatalSetupError();
  return buffer;
}

// ---- pass-throughs ----

BOOL SwitchBeeping(BOOL beep) { return FSetBeepingMode(beep); }
BOOL SwitchSilentMode(BOOL silent) { return FSetSilent(silent); }
BOOL CanWriteDirectory(LPCSTR dir) { return FIsDirWritable(dir); }
BOOL CanWriteFile(LPCSTR file) { return FIsFileWritable(file); }
BOOL IsRestartQueueEmpty(void) { return FRestartListEmpty(); }
BOOL ExitAndRestart(void) { return FExitExecRestart(); }
