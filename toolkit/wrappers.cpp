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
void MakeDirectory(LPCSTR dir, UINT cmo) { Guarded<FCreateDir>(dir, cmo); }
void DeleteDirectory(LPCSTR dir, UINT cmo) { Guarded<FRemoveDir>(dir, cmo); }
void DeleteIniSection(LPCSTR file, LPCSTR section, UINT cmo) {
  Guarded<FRemoveIniSection>(file, section, cmo);
}
void WriteIniValue(LPCSTR file, LPCSTR section, LPCSTR key, LPCSTR value, UINT cmo) {
  Guarded<FCreateIniKeyValue>(file, section, key, value, cmo);
}
void DeleteIniKey(LPCSTR file, LPCSTR section, LPCSTR key, UINT cmo) {
  Guarded<FRemoveIniKey>(file, section, key, cmo);
}
void WriteSystemIniValue(LPCSTR file, LPCSTR section, LPCSTR key, LPCSTR value, UINT cmo) {
  Guarded<FCreateSysIniKeyValue>(file, section, key, value, cmo);
}
void MakeProgramGroup(LPCSTR group, LPCSTR path, UINT cmo) {
  Guarded<FCreateProgManGroup>(group, path, cmo);
}
void MakeProgramGroupEx(LPCSTR group, LPCSTR path, UINT cmo) {
  Guarded<FCreateProgManGroupEx>(group, path, cmo);
}
void StampFileResource(LPCSTR section, LPCSTR key, LPCSTR dst, UINT resType, UINT resId,
                       LPCSTR data, INT cbData) {
  Guarded<FStampResource>(section, key, dst, resType, resId, data, cbData);
}
void WriteCopyListToFile(LPCSTR file) { Guarded<FDumpCopyListToFile>(file); }
void EraseFile(LPCSTR file, UINT cmo) { Guarded<YnrcRemoveFile>(file, cmo); }
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
void PrependPathEntry(LPCSTR file, LPCSTR dst, LPCSTR dir, UINT cmo) {
  Guarded<FPrependToPath>(file, dst, dir, cmo);
}

// ---- prepared calls ----

void FillSymbolWithSectionKeys(LPCSTR symbol, LPCSTR section) {
  Guarded<FSetSymbolToListOfInfKeys>(symbol, section, TRUE);
}
void CollectInfField1(LPCSTR symbol, LPCSTR section) {
  Guarded<FMakeListInfSectionField>(symbol, section, 1);
}
void CollectInfField2(LPCSTR symbol, LPCSTR section) {
  Guarded<FMakeListInfSectionField>(symbol, section, 2);
}
void CollectInfField5(LPCSTR symbol, LPCSTR section) {
  Guarded<FMakeListInfSectionField>(symbol, section, 5);
}
void CollectInfField15(LPCSTR symbol, LPCSTR section) {
  Guarded<FMakeListInfSectionField>(symbol, section, 15);
}
void CollectInfField19(LPCSTR symbol, LPCSTR section) {
  Guarded<FMakeListInfSectionField>(symbol, section, 19);
}
void SaveFileBackup(LPCSTR file, LPCSTR backup) { Guarded<YnrcBackupFile>(file, backup, 0u); }
void AddBlankBillboard(LONG ticks) {
  Guarded<FAddToBillboardList>(static_cast<LPCSTR>(nullptr), 0u, static_cast<LPCSTR>(nullptr),
                               ticks);
}
void WriteSetupLog(LPCSTR text) { Guarded<FWriteToLogFile>(text, TRUE); }
void CopySingleFile(LPCSTR src, LPCSTR dst, UINT cmo, BOOL append) {
  Guarded<FCopyOneFile>(src, dst, cmo | cmoOverwrite, append);
}

// The show command travels as decimal text.
static LPSTR DecimalText(INT value, char (&buffer)[256]) {
  wsprintfA(buffer, "%d", value);
  return buffer;
}

void DisplayProgramGroup(LPCSTR group, INT showCommand, UINT cmo) {
  char text[256];
  Guarded<FShowProgManGroup>(group, static_cast<LPCSTR>(DecimalText(showCommand, text)), cmo);
}
void DisplayProgramGroupEx(LPCSTR group, LPCSTR path, INT showCommand, UINT cmo) {
  char text[256];
  Guarded<FShowProgManGroupEx>(group, path, static_cast<LPCSTR>(DecimalText(showCommand, text)),
                               cmo);
}

// "item,extra" when there is an extra text, else the item unchanged.
static LPCSTR JoinedItem(LPCSTR item, LPCSTR extra) {
  if (extra == nullptr || extra[0] == '\0') return item;
  return ConcatPath3(item, ",", extra);
}

void MakeProgramItem(LPCSTR group, LPCSTR item, LPCSTR cmd, LPCSTR extra, UINT cmo) {
  Guarded<FCreateProgManItem>(group, JoinedItem(item, extra), cmd, cmo);
}
void MakeProgramItemEx(LPCSTR group, LPCSTR path, LPCSTR item, LPCSTR cmd, LPCSTR extra,
                       UINT cmo) {
  Guarded<FCreateProgManItemEx>(group, path, JoinedItem(item, extra), cmd, cmo);
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
