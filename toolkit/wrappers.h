// Guarded wrappers over the remaining toolkit operations: each takes its
// toolkit function's arguments in the same order, and either returns a usable
// value or ends the program through the fatal path.
#pragma once

#include "platform/win32.h"

// Guarded calls: a zero result is fatal.
void AppendListItem(LPCSTR list, LPCSTR item);
void OverwriteListItem(LPCSTR list, UINT n, LPCSTR item);
void StoreSymbolValue(LPCSTR symbol, LPCSTR value);
void DeleteSymbol(LPCSTR symbol);
void MakeDirectory(LPCSTR dir, UINT cmo);
void DeleteDirectory(LPCSTR dir, UINT cmo);
void DeleteIniSection(LPCSTR file, LPCSTR section, UINT cmo);
void WriteIniValue(LPCSTR file, LPCSTR section, LPCSTR key, LPCSTR value, UINT cmo);
void DeleteIniKey(LPCSTR file, LPCSTR section, LPCSTR key, UINT cmo);
void WriteSystemIniValue(LPCSTR file, LPCSTR section, LPCSTR key, LPCSTR value, UINT cmo);
void MakeProgramGroup(LPCSTR group, LPCSTR path, UINT cmo);
void MakeProgramGroupEx(LPCSTR group, LPCSTR path, UINT cmo);
void StampFileResource(LPCSTR section, LPCSTR key, LPCSTR dst, UINT resType, UINT resId,
                       LPCSTR data, INT cbData);
void WriteCopyListToFile(LPCSTR file);
void EraseFile(LPCSTR file, UINT cmo);
void QueueSectionKeyFile(LPCSTR section, LPCSTR key, LPCSTR src, LPCSTR dst);
void QueueSpecialFile(LPCSTR section, LPCSTR key, LPCSTR src, LPCSTR dst);
void DropAllBillboards(void);
void OpenSetupLog(LPCSTR file, BOOL append);
void CloseSetupLog(void);
void ChooseRestartDirectory(LPCSTR dir);
void PrependPathEntry(LPCSTR file, LPCSTR dst, LPCSTR dir, UINT cmo);

// Prepared calls: arguments completed or converted first, then guarded.
void FillSymbolWithSectionKeys(LPCSTR symbol, LPCSTR section);
void CollectInfField1(LPCSTR symbol, LPCSTR section);
void CollectInfField2(LPCSTR symbol, LPCSTR section);
void CollectInfField5(LPCSTR symbol, LPCSTR section);
void CollectInfField15(LPCSTR symbol, LPCSTR section);
void CollectInfField19(LPCSTR symbol, LPCSTR section);
void SaveFileBackup(LPCSTR file, LPCSTR backup);
void AddBlankBillboard(LONG ticks);
void WriteSetupLog(LPCSTR text);
void CopySingleFile(LPCSTR src, LPCSTR dst, UINT cmo, BOOL append);  // cmo gains overwrite
void DisplayProgramGroup(LPCSTR group, INT showCommand, UINT cmo);
void DisplayProgramGroupEx(LPCSTR group, LPCSTR path, INT showCommand, UINT cmo);
void MakeProgramItem(LPCSTR group, LPCSTR item, LPCSTR cmd, LPCSTR extra, UINT cmo);
void MakeProgramItemEx(LPCSTR group, LPCSTR path, LPCSTR item, LPCSTR cmd, LPCSTR extra,
                       UINT cmo);

// Guarded reads.
UINT CountListItems(LPCSTR list);
LPSTR ReadListItem(LPCSTR list, INT index, LPSTR buffer, INT size);
LPSTR ReadInfField1(LPCSTR section, LPCSTR key, LPSTR buffer, INT size);
LPSTR ReadInfField5(LPCSTR section, LPCSTR key, LPSTR buffer, INT size);
LPSTR ReadInfField19(LPCSTR section, LPCSTR key, LPSTR buffer, INT size);
INT ReadInfField15Number(LPCSTR section, LPCSTR key);
LONG MeasureCopyListCost(LPCSTR extraList, LPCSTR costList, LPCSTR needList);
LPSTR FindFileByOpening(LPCSTR file, LPSTR buffer, INT size);

// Pass-throughs: the toolkit's answer, untested.
BOOL SwitchBeeping(BOOL beep);
BOOL SwitchSilentMode(BOOL silent);
BOOL CanWriteDirectory(LPCSTR dir);
BOOL CanWriteFile(LPCSTR file);
BOOL IsRestartQueueEmpty(void);
BOOL ExitAndRestart(void);
