#include "support/shared_file_search.h"

#include "support/detection.h"
#include "support/dir_queries.h"
#include "support/shared_dirs.h"
#include "support/registry_routines.h"
#include "support/text_parsing.h"
#include "contract/toolkit_api.h"

INT SharedFileUpdateNeeded = 0;

#define PATH_CHARS 255

INT QuerySharedFileUpdateNeeded(void) { return SharedFileUpdateNeeded != 0 ? 1 : 0; }

INT CompareVersionStrings(LPCSTR a, LPCSTR b) {
  if (a[0] == '\0') return b[0] == '\0' ? 0 : -1;
  if (b[0] == '\0') return 1;
  for (INT field = 1; field <= 4; ++field) {
    LONG fieldA = ParseVersionField(a, field);
    LONG fieldB = ParseVersionField(b, field);
    if (fieldA > fieldB) return 1;
    if (fieldA < fieldB) return -1;
  }
  return 0;
}

// dir + name into path; false, leaving path empty, when it would not fit.
static bool JoinPath(LPSTR path, LPCSTR dir, LPCSTR name) {
  path[0] = '\0';
  if (lstrlenA(dir) + lstrlenA(name) > PATH_CHARS) return false;
  lstrcpyA(path, dir);
  lstrcatA(path, name);
  return true;
}

// A directory with a name too long for the buffer is simply not a place the
// file can be found in.
static bool ExistsIn(LPSTR path, LPCSTR dir, LPCSTR fileName) {
  return JoinPath(path, dir, fileName) && CheckFileExists(path, 0);
}

LPSTR LocateInWindowsSearchPath(LPCSTR fileName, LPSTR output, INT capacity) {
  if (output == nullptr || capacity <= 0) return output;
  char dir[256];
  char found[256];
  if (!ExistsIn(found, GetWindowsDir(dir, PATH_CHARS), fileName) &&
      !ExistsIn(found, GetSystemDir(dir, PATH_CHARS), fileName)) {
    SearchEnvVarDirs(fileName, "PATH", found, PATH_CHARS);
  }
  // A path longer than the output is no answer, as for an over-long candidate.
  output[0] = '\0';
  if (lstrlenA(found) < capacity) lstrcpyA(output, found);
  return output;
}

// The file name of a well-formed path into a 32-byte buffer; an empty name
// is none, or the search would find the directories themselves.
static bool FileNameOf(LPCSTR path, LPSTR name) {
  name[0] = '\0';
  if (!FValidPath(path)) return false;
  if (!FParsePathIntoPieces(path, nullptr, 0, nullptr, 0, name, 31)) return false;
  name[31] = '\0';
  return name[0] != '\0';
}

LPSTR VetSharedFileCandidate(LPCSTR candidate, LPCSTR requiredVersion, LPSTR output,
                             INT capacity) {
  if (output == nullptr || capacity <= 0) return nullptr;
  output[0] = '\0';
  if (lstrlenA(candidate) < capacity) lstrcpyA(output, candidate);
  SharedFileUpdateNeeded = 0;

  if (output[0] != '\0' && !CheckFileExists(output, 0)) {
    // Missing where it was recorded: look for its name where Windows would.
    char fileName[32];
    if (FileNameOf(output, fileName)) {
      LocateInWindowsSearchPath(fileName, output, capacity);
    } else {
      output[0] = '\0';
    }
  }

  if (output[0] != '\0') {
    char version[32];
    ReadFileVersion(output, version, 31);
    if (CompareVersionStrings(version, requiredVersion) < 0) {
      if (FIsFileWritable(output)) {
        SharedFileUpdateNeeded = 1;
      } else {
        output[0] = '\0';
      }
    }
  }
  return output[0] != '\0' ? output : nullptr;
}

LPSTR PickSharedFileLocation(LPCSTR regKey, LPCSTR iniSection, LPCSTR iniKey, INT field,
                             LPCSTR defaultPath, LPCSTR requiredVersion, LPSTR output,
                             INT capacity) {
  if (output == nullptr || capacity <= 0) return nullptr;

  if (regKey != nullptr && regKey[0] != '\0') {
    char value[256];
    GetRegKeyValue(regKey, value, PATH_CHARS);
    if (VetSharedFileCandidate(value, requiredVersion, output, capacity)) return output;
  }

  if (iniSection != nullptr && iniSection[0] != '\0' && iniKey != nullptr && iniKey[0] != '\0') {
    char entry[256];
    ReadIniKeyValue(SHARED_INI_FILE, iniSection, iniKey, entry, PATH_CHARS);
    if (entry[0] != '\0') {
      char candidate[256];
      GetNthCommaField(entry, field, candidate, PATH_CHARS);
      if (VetSharedFileCandidate(candidate, requiredVersion, output, capacity)) return output;
    }
  }

  output[0] = '\0';
  if (lstrlenA(defaultPath) < capacity) lstrcpyA(output, defaultPath);
  SharedFileUpdateNeeded = 1;
  if (CheckFileExists(output, 0)) {
    char version[256];
    ReadFileVersion(output, version, PATH_CHARS);
    if (CompareVersionStrings(version, requiredVersion) >= 0) SharedFileUpdateNeeded = 0;
  }
  return output[0] != '\0' ? output : nullptr;
}
