// Questions about the machine, its drives and its files, answered mostly by
// the toolkit's detection library. A bounded query that does not fit, and a
// failed list request, end the program; every other answer is handed back.
#pragma once

#include "platform/win32.h"

// Platform queries and constants.
INT QueryWindowsMajor(void);
INT QueryWindowsMinor(void);
INT QueryScreenWidth(void);
INT QueryScreenHeight(void);
INT QueryFixedTwo(void);
INT QueryFixedZeroA(void);
INT QueryFixedZeroB(void);
INT QueryFixedZeroC(void);

// Drive-letter queries: the first character names the drive (A = 1).
BOOL CheckDriveValid(LPSTR drive);       // upper-cases the first character in place
BOOL CheckDriveLocalFixed(LPSTR drive);  // upper-cases the whole string in place
BOOL CheckDriveRemovable(LPSTR drive);   // upper-cases the first character in place
BOOL CheckDriveRemote(LPCSTR drive);
LONG QueryDriveTotalBytes(LPSTR drive);  // upper-cases the first character in place
LONG QueryDriveFreeBytes(LPCSTR drive);

// List fillers: return only on success.
void FillValidDriveList(LPCSTR symbol);
void FillLocalFixedDriveList(LPCSTR symbol);
void FillRemovableDriveList(LPCSTR symbol);
void FillNetworkDriveList(LPCSTR symbol);
void FillParallelPortList(LPCSTR symbol);
void FillSerialPortList(LPCSTR symbol);

// Bounded string queries: the buffer, holding the value.
LPSTR ReadIniKeyValue(LPCSTR file, LPCSTR section, LPCSTR key, LPSTR buffer, INT capacity);
LPSTR ReadEnvValue(LPCSTR variable, LPSTR buffer, INT capacity);
LPSTR ReadFileVersion(LPCSTR path, LPSTR buffer, INT capacity);
LPSTR SearchEnvVarDirs(LPCSTR file, LPCSTR variable, LPSTR buffer, INT capacity);
LPSTR ReadFileDate(LPCSTR path, LPSTR buffer, INT capacity);
LPSTR SearchDirTree(LPCSTR file, LPCSTR dir, LPSTR buffer, INT capacity);

// Pass-through questions.
BOOL CheckFileExists(LPCSTR path, INT mode);
LONG ParseVersionField(LPCSTR version, INT field);
LONG QueryFileSize(LPCSTR path);
BOOL CheckDriverInConfig(LPCSTR driver);
BOOL CheckMathCoprocessor(void);
BOOL CheckMathCoprocessorAlt(void);
BOOL CheckMonochromeDisplay(void);
BOOL CheckMousePresent(void);
BOOL CheckDirExists(LPCSTR dir);
BOOL CheckIniSection(LPCSTR file, LPCSTR section);
BOOL CheckIniKey(LPCSTR file, LPCSTR section, LPCSTR key);

// Fields of a "YYYY-MM-DD HH:MM:SS" date as ReadFileDate delivers it.
INT ParseDateYear(LPCSTR date);
INT ParseDateMonth(LPCSTR date);
INT ParseDateDay(LPCSTR date);
INT ParseDateHour(LPCSTR date);
INT ParseDateMinute(LPCSTR date);
INT ParseDateSecond(LPCSTR date);

// 1 to 4 for the 80x86 family, 400, 2000, 3000, 4000, 21064; 0 for the
// 8086, an unknown name or a failed query.
INT QueryProcessorCode(void);
