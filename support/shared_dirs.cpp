#include "support/shared_dirs.h"

#include "support/detection.h"
#include "support/dir_queries.h"
#include "support/path_join.h"
#include "support/shared_file_search.h"
#include "contract/toolkit_api.h"

INT SharedDirsSetUpPending = 1;

#define PATH_CHARS 255

static LPCSTR const kIniFile = SHARED_INI_FILE;
static LPCSTR const kSection = "MSAPPS";
static LPCSTR const kSharedKey = "MSAPPS";

static LPCSTR const kSubdirKeys[] = {"CLIPART", "EQUATION", "GRPHFLT",  "MSDRAW",
                                     "MSGRAPH", "PROOF",    "TEXTCONV", "WORDART"};

// Written directly, not through the guarded wrapper: a failed write is an answer here.
static BOOL WriteEntry(LPCSTR key, LPCSTR value) {
  return FCreateIniKeyValue(kIniFile, kSection, key, value, cmoForceWrite);
}

static LPSTR ReadEntry(LPCSTR key, LPSTR value) {
  return ReadIniKeyValue(kIniFile, kSection, key, value, PATH_CHARS);
}

// Ends a value of a 256-byte buffer in a backslash, stepping over double-byte
// characters; an empty value becomes a single backslash. False when full.
static bool EndWithBackslash(LPSTR text) {
  if (EndsInBackslash(text)) return true;
  if (lstrlenA(text) >= PATH_CHARS) return false;
  AppendBackslash(text);
  return true;
}

// dir + tail into a 256-byte buffer; false, leaving it unchanged, when it would not fit.
static bool Append(LPSTR dir, LPCSTR tail) {
  if (lstrlenA(dir) + lstrlenA(tail) > PATH_CHARS) return false;
  lstrcatA(dir, tail);
  return true;
}

INT EnsureSharedSubdirEntry(LPCSTR key, LPCSTR dir) {
  char value[256];
  if (CheckIniKey(kIniFile, kSection, key) && FValidDir(ReadEntry(key, value))) return 1;
  // A directory too long to hold the key as well is not recorded: a failure.
  if (lstrlenA(dir) + lstrlenA(key) > PATH_CHARS) return 0;
  lstrcpyA(value, dir);
  lstrcatA(value, key);
  return WriteEntry(key, value);
}

INT PrepareSharedAppDirs(void) {
  if (!SharedDirsSetUpPending) return 1;
  SharedDirsSetUpPending = 0;  // first, so that a failed run is not repeated

  char dir[256];
  if (!CheckIniKey(kIniFile, kSection, kSharedKey) || !FValidDir(ReadEntry(kSharedKey, dir))) {
    // Room is kept for the name appended to the Windows directory.
    GetWindowsDir(dir, PATH_CHARS - 6 - 2);
    EndWithBackslash(dir);
    lstrcatA(dir, "MSAPPS");
    if (!WriteEntry(kSharedKey, dir)) return 0;
  }

  ReadEntry(kSharedKey, dir);
  if (!FValidDir(dir)) return 0;
  if (!EndWithBackslash(dir)) return 0;
  for (LPCSTR key : kSubdirKeys) {
    if (!EnsureSharedSubdirEntry(key, dir)) return 0;
  }
  return 1;
}

// Field iField of an INF line into buffer; false when it is missing or does
// not fit the room given.
static bool ReadInfField(LPCSTR section, LPCSTR key, INT field, LPSTR buffer, INT room) {
  INT length = CbGetInfSectionKeyField(section, key, field, buffer, room);
  return length != -1 && length < room;
}

LPSTR FindSharedAppFile(LPCSTR infSection, LPCSTR infKey, LPCSTR appKey, LPCSTR regKey,
                        LPCSTR iniSection, LPCSTR iniKey, INT field, LPSTR output,
                        INT capacity) {
  PrepareSharedAppDirs();

  char dir[256];
  if (CheckIniKey(kIniFile, kSection, appKey)) {
    ReadEntry(appKey, dir);
  } else {
    if (!CheckIniKey(kIniFile, kSection, kSharedKey)) return nullptr;
    ReadEntry(kSharedKey, dir);
    // A directory too long to take the application key is no answer.
    if (!EndWithBackslash(dir) || !Append(dir, appKey)) return nullptr;
    WriteEntry(appKey, dir);
  }
  if (!EndWithBackslash(dir)) return nullptr;

  // The file name goes straight after the directory, in the room that is left.
  INT length = lstrlenA(dir);
  if (!ReadInfField(infSection, infKey, 1, dir + length, PATH_CHARS - length)) return nullptr;
  dir[PATH_CHARS] = '\0';

  char requiredVersion[32] = {0};
  if (!ReadInfField(infSection, infKey, 19, requiredVersion, 31)) return nullptr;
  requiredVersion[31] = '\0';

  return PickSharedFileLocation(regKey, iniSection, iniKey, field, dir, requiredVersion, output,
                                capacity);
}
