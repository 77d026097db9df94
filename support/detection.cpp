#include "support/detection.h"

#include <cstdlib>

#include "support/guarded.h"
#include "support/text_parsing.h"
#include "support/fatal_path.h"
#include "contract/toolkit_api.h"

// ---- Platform queries and constants ----

INT QueryWindowsMajor(void) { return static_cast<INT>(GetVersion() & 0xFF); }
INT QueryWindowsMinor(void) { return static_cast<INT>((GetVersion() >> 8) & 0xFF); }
INT QueryScreenWidth(void) { return GetSystemMetrics(SM_CXSCREEN); }
INT QueryScreenHeight(void) { return GetSystemMetrics(SM_CYSCREEN); }
INT QueryFixedTwo(void) { return 2; }
INT QueryFixedZeroA(void) { return 0; }
INT QueryFixedZeroB(void) { return 0; }
INT QueryFixedZeroC(void) { return 0; }

// ---- Drive letters ----

// The library numbers drives from A = 1; whether the number names a drive is
// the library's judgement.
static INT DriveNumber(char upperCased) { return static_cast<signed char>(upperCased) - 64; }

static INT UpperFirstInPlace(LPSTR drive) {
  CharUpperBuffA(drive, 1);
  return DriveNumber(drive[0]);
}

static INT UpperFirstCopy(LPCSTR drive) {
  char first[2] = {drive[0], '\0'};
  CharUpperBuffA(first, 1);
  return DriveNumber(first[0]);
}

BOOL CheckDriveValid(LPSTR drive) { return FIsValidDrive(UpperFirstInPlace(drive)); }

BOOL CheckDriveLocalFixed(LPSTR drive) {
  CharUpperA(drive);
  return FIsLocalHardDrive(DriveNumber(drive[0]));
}

BOOL CheckDriveRemovable(LPSTR drive) { return FIsRemoveDrive(UpperFirstInPlace(drive)); }
BOOL CheckDriveRemote(LPCSTR drive) { return FIsRemoteDrive(UpperFirstCopy(drive)); }
LONG QueryDriveTotalBytes(LPSTR drive) { return LcbTotalDrive(UpperFirstInPlace(drive)); }
LONG QueryDriveFreeBytes(LPCSTR drive) { return LcbFreeDrive(UpperFirstCopy(drive)); }

// ---- List fillers ----

void FillValidDriveList(LPCSTR symbol) { Guarded<FGetValidDrivesList>(symbol); }
void FillLocalFixedDriveList(LPCSTR symbol) { Guarded<FGetLocalHardDrivesList>(symbol); }
void FillRemovableDriveList(LPCSTR symbol) { Guarded<FGetRemovableDrivesList>(symbol); }
void FillNetworkDriveList(LPCSTR symbol) { Guarded<FGetNetworkDrivesList>(symbol); }
void FillParallelPortList(LPCSTR symbol) { Guarded<FGetParallelPortsList>(symbol); }
void FillSerialPortList(LPCSTR symbol) { Guarded<FGetSerialPortsList>(symbol); }

// ---- Bounded string queries ----

// So that a value the library does not write reads as the empty string.
static void EmptyFirst(LPSTR buffer, INT capacity) {
  if (buffer != nullptr && capacity > 0) buffer[0] = '\0';
}

// These queries show no overflow box of their own.
static LPSTR Fitted(INT count, LPSTR buffer, INT capacity) {
  if (count >= capacity) FatalSetupError();
  return buffer;
}

LPSTR ReadIniKeyValue(LPCSTR file, LPCSTR section, LPCSTR key, LPSTR buffer, INT capacity) {
  EmptyFirst(buffer, capacity);
  return Fitted(CbGetIniKeyString(file, section, key, buffer, capacity), buffer, capacity);
}

LPSTR ReadEnvValue(LPCSTR variable, LPSTR buffer, INT capacity) {
  EmptyFirst(buffer, capacity);
  return Fitted(CbGetEnvVariableValue(variable, buffer, capacity), buffer, capacity);
}

LPSTR ReadFileVersion(LPCSTR path, LPSTR buffer, INT capacity) {
  EmptyFirst(buffer, capacity);
  return Fitted(CbGetVersionOfFile(path, buffer, capacity), buffer, capacity);
}

LPSTR SearchEnvVarDirs(LPCSTR file, LPCSTR variable, LPSTR buffer, INT capacity) {
  EmptyFirst(buffer, capacity);
  return Fitted(CbFindTargetOnEnvVar(file, variable, buffer, capacity), buffer, capacity);
}

LPSTR ReadFileDate(LPCSTR path, LPSTR buffer, INT capacity) {
  return Fitted(CbGetDateOfFile(path, buffer, capacity), buffer, capacity);
}

LPSTR SearchDirTree(LPCSTR file, LPCSTR dir, LPSTR buffer, INT capacity) {
  return Fitted(CbFindFileInTree(file, dir, buffer, capacity), buffer, capacity);
}

// ---- Pass-through questions ----

BOOL CheckFileExists(LPCSTR path, INT mode) {
  if (!FValidPath(path)) return 0;
  return FDoesFileExist(path, mode);
}

LONG ParseVersionField(LPCSTR version, INT field) { return LGetVersionNthField(version, field); }
LONG QueryFileSize(LPCSTR path) { return LcbGetSizeOfFile(path); }
BOOL CheckDriverInConfig(LPCSTR driver) { return FIsDriverInConfig(driver); }
BOOL CheckMathCoprocessor(void) { return FHas87MathChip(); }
BOOL CheckMathCoprocessorAlt(void) { return FHas87MathChip(); }
BOOL CheckMonochromeDisplay(void) { return FHasMonochromeDisplay(); }
BOOL CheckMousePresent(void) { return FHasMouseInstalled(); }
BOOL CheckDirExists(LPCSTR dir) { return FDirExists(dir); }
BOOL CheckIniSection(LPCSTR file, LPCSTR section) { return FDoesIniSectionExist(file, section); }

BOOL CheckIniKey(LPCSTR file, LPCSTR section, LPCSTR key) {
  return FDoesIniKeyExist(file, section, key);
}

// ---- Date fields ----

// A field that starts at or past the end of a short date string reads as 0:
// nothing beyond the string's terminator is read.
static INT DateField(LPCSTR date, INT offset, INT width) {
  if (date == nullptr) return 0;
  for (INT i = 0; i < offset; ++i) {
    if (date[i] == '\0') return 0;
  }
  char field[5];
  CopyStringPadded(field, date + offset, width);
  field[width] = '\0';
  return std::atoi(field);
}

INT ParseDateYear(LPCSTR date) { return DateField(date, 0, 4); }
INT ParseDateMonth(LPCSTR date) { return DateField(date, 5, 2); }
INT ParseDateDay(LPCSTR date) { return DateField(date, 8, 2); }
INT ParseDateHour(LPCSTR date) { return DateField(date, 11, 2); }
INT ParseDateMinute(LPCSTR date) { return DateField(date, 14, 2); }
INT ParseDateSecond(LPCSTR date) { return DateField(date, 17, 2); }

// ---- Processor ----

struct ProcessorName {
  LPCSTR name;
  INT code;
};

static const ProcessorName kProcessors[] = {
    {"C400", 400},  {"AXP21064", 21064}, {"R4000", 4000}, {"R3000", 3000}, {"R2000", 2000},
    {"80486", 4},   {"80386", 3},        {"80286", 2},    {"80186", 1},    {"8086", 0},
};

INT QueryProcessorCode(void) {
  char name[32] = {0};
  if (!FGetProcessorType("", 0, name, 32)) return 0;
  name[31] = '\0';
  for (const ProcessorName& row : kProcessors) {
    if (lstrcmpiA(name, row.name) == 0) return row.code;
  }
  return 0;
}
