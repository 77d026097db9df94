// Guarded wrappers over the remaining toolkit operations: each takes its
// toolkit function's arguments in the same order, and either returns a usable
// value or ends the program through the fatal path.
#pragma once

#include <string>

#include "platform/win32.h"

// Guarded calls: a zero result is fatal. options: the cmo... words of
// contract/toolkit_api.h.
void AppendListItem(LPCSTR list, LPCSTR item);
void OverwriteListItem(LPCSTR list, UINT n, LPCSTR item);
void StoreSymbolValue(LPCSTR symbol, LPCSTR value);
void DeleteSymbol(LPCSTR symbol);
void MakeDirectory(LPCSTR dir, UINT options);
void DeleteDirectory(LPCSTR dir, UINT options);
void DeleteIniSection(LPCSTR file, LPCSTR section, UINT options);
void WriteIniValue(LPCSTR file, LPCSTR section, LPCSTR key, LPCSTR value, UINT options);
void DeleteIniKey(LPCSTR file, LPCSTR section, LPCSTR key, UINT options);
void WriteSystemIniValue(LPCSTR file, LPCSTR section, LPCSTR key, LPCSTR value, UINT options);
void MakeProgramGroup(LPCSTR group, LPCSTR path, UINT options);
void MakeProgramGroupEx(LPCSTR group, LPCSTR path, UINT options);
void StampFileResource(LPCSTR section, LPCSTR key, LPCSTR dst, UINT resType, UINT resId,
                       LPCSTR data, INT cbData);
void WriteCopyListToFile(LPCSTR file);
void EraseFile(LPCSTR file, UINT options);
void QueueSectionKeyFile(LPCSTR section, LPCSTR key, LPCSTR src, LPCSTR dst);
void QueueSpecialFile(LPCSTR section, LPCSTR key, LPCSTR src, LPCSTR dst);
void DropAllBillboards(void);
void OpenSetupLog(LPCSTR file, BOOL append);
void CloseSetupLog(void);
void ChooseRestartDirectory(LPCSTR dir);
void PrependPathEntry(LPCSTR file, LPCSTR dst, LPCSTR dir, UINT options);

// Prepared calls: arguments completed or converted first, then guarded.
void FillSymbolWithSectionKeys(LPCSTR symbol, LPCSTR section);
// Each fills the list symbol with one field of every file record of a
// section: the name on the disk (1), the name installed (2), the description
// (5), the flags (15), the version (19).
void CollectDiskNames(LPCSTR symbol, LPCSTR section);
void CollectInstallNames(LPCSTR symbol, LPCSTR section);
void CollectDescriptions(LPCSTR symbol, LPCSTR section);
void CollectFileFlags(LPCSTR symbol, LPCSTR section);
void CollectFileVersions(LPCSTR symbol, LPCSTR section);
void SaveFileBackup(LPCSTR file, LPCSTR backup);
void AddBlankBillboard(LONG ticks);
void WriteSetupLog(LPCSTR text);
void CopySingleFile(LPCSTR src, LPCSTR dst, UINT options, BOOL append);  // options gains overwrite
void DisplayProgramGroup(LPCSTR group, INT showCommand, UINT options);
void DisplayProgramGroupEx(LPCSTR group, LPCSTR path, INT showCommand, UINT options);
void MakeProgramItem(LPCSTR group, LPCSTR item, LPCSTR cmd, LPCSTR extra, UINT options);
void MakeProgramItemEx(LPCSTR group, LPCSTR path, LPCSTR item, LPCSTR cmd, LPCSTR extra,
                       UINT options);

// Guarded reads.
UINT CountListItems(LPCSTR list);
LPSTR ReadListItem(LPCSTR list, INT index, LPSTR buffer, INT size);
// Item index (from 1) of a list whole, however long.
std::string ListItemText(LPCSTR list, INT index);
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
