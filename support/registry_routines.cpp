#include "support/registry_routines.h"

#include "support/registry_calls.h"
#include "support/fatal_path.h"
#include "contract/toolkit_api.h"

// Subkey names are at most 255 characters; a larger figure from the
// information query is not believed.
static const DWORD kLongestBelievableName = 0xFFFF;

static void ReportRegistryError(LPCSTR routine) {
  EercErrorHandler(104, 1, routine, nullptr, nullptr);
}

[[noreturn]] static void FailRegistry(LPCSTR routine) {
  ReportRegistryError(routine);
  FatalSetupError();
}

// ---- Keys and default values under a root ----

static void CreateKeyUnder(HKEY root, LPCSTR keyPath, LPCSTR routine) {
  HKEY key = nullptr;
  if (CallRegCreateKey(root, keyPath, &key) != ERROR_SUCCESS) FailRegistry(routine);
  if (CallRegCloseKey(key) != ERROR_SUCCESS) FailRegistry(routine);
}

void CreateRegKey(LPCSTR keyPath) { CreateKeyUnder(HKEY_CLASSES_ROOT, keyPath, "CreateRegKey"); }
void CreateRegKeyEx(HKEY root, LPCSTR keyPath) { CreateKeyUnder(root, keyPath, "CreateRegKeyEx"); }

static void SetDefaultValue(LPCSTR keyPath, LPCSTR value, LPCSTR routine) {
  LONG result = CallRegSetValue(HKEY_CLASSES_ROOT, keyPath, REG_SZ, value,
                                static_cast<DWORD>(lstrlenA(value)));
  if (result != ERROR_SUCCESS) FailRegistry(routine);
}

void CreateRegKeyValue(LPCSTR keyPath, LPCSTR value) {
  SetDefaultValue(keyPath, value, "CreateRegKeyValue");
}

void SetRegKeyValue(LPCSTR keyPath, LPCSTR value) {
  SetDefaultValue(keyPath, value, "SetRegKeyValue");
}

// The key must exist: it is opened, not created.
static void SetNamedValue(HKEY root, LPCSTR keyPath, LPCSTR valueName, DWORD type,
                          const BYTE* data, DWORD size, LPCSTR openRoutine, LPCSTR routine) {
  HKEY key = nullptr;
  if (CallRegOpenKeyEx(root, keyPath, KEY_WRITE, &key) != ERROR_SUCCESS) FailRegistry(openRoutine);
  LONG result = CallRegSetValueEx(key, valueName, type, data, size);
  CallRegCloseKey(key);
  if (result != ERROR_SUCCESS) FailRegistry(routine);
}

void CreateRegKeyValueEx(HKEY root, LPCSTR keyPath, LPCSTR valueName, DWORD type,
                         const BYTE* data, DWORD size) {
  SetNamedValue(root, keyPath, valueName, type, data, size, "CreateRegKeyValueEx:open",
                "CreateRegKeyValueEx");
}

void SetRegKeyValueEx(HKEY root, LPCSTR keyPath, LPCSTR valueName, DWORD type,
                      const BYTE* data, DWORD size) {
  SetNamedValue(root, keyPath, valueName, type, data, size, "SetRegKeyValueEx:open",
                "SetRegKeyValueEx");
}

// ---- Existence and reading ----

INT DoesRegKeyExistEx(HKEY root, LPCSTR keyPath) {
  HKEY key = nullptr;
  if (CallRegOpenKey(root, keyPath, &key) != ERROR_SUCCESS) return 0;
  CallRegCloseKey(key);
  return 1;
}

INT DoesRegKeyExist(LPCSTR keyPath) { return DoesRegKeyExistEx(HKEY_CLASSES_ROOT, keyPath); }

LPSTR GetRegKeyValue(LPCSTR keyPath, LPSTR buffer, INT size) {
  if (size > 0) buffer[0] = '\0';
  if (!DoesRegKeyExist(keyPath)) return buffer;
  // A negative size would reach the platform as an enormous byte count.
  if (size < 0) FailWithBufferOverflow();

  LONG count = size;
  if (CallRegQueryValue(HKEY_CLASSES_ROOT, keyPath, buffer, &count) != ERROR_SUCCESS) {
    FailRegistry("GetRegKeyValue");
  }
  if (count > size || count < 0) FailWithBufferOverflow();
  buffer[count] = '\0';
  return buffer;
}

LONG GetRegKeyValueEx(HKEY root, LPCSTR keyPath, LPCSTR valueName, LPDWORD type, LPBYTE data,
                      DWORD size) {
  if (!DoesRegKeyExistEx(root, keyPath)) return ERROR_BADKEY;
  HKEY key = nullptr;
  if (CallRegOpenKeyEx(root, keyPath, KEY_READ, &key) != ERROR_SUCCESS) {
    FailRegistry("GetRegKeyValueEx");
  }
  DWORD count = size;
  LONG result = CallRegQueryValueEx(key, valueName, type, data, &count);
  CallRegCloseKey(key);
  if (result != ERROR_SUCCESS) FailRegistry("GetRegKeyValueEx");
  if (count > size) FailWithBufferOverflow();
  return 0;
}

// ---- Deleting trees ----

// An empty path names the root itself, and some systems read a leading
// backslash the same way: either would delete the whole tree under the root.
static void DeleteTree(HKEY root, LPCSTR keyPath, LPCSTR routine) {
  if (keyPath == nullptr || keyPath[0] == '\0' || keyPath[0] == '\\') FailRegistry(routine);
  if (!DoesRegKeyExistEx(root, keyPath)) return;  // nothing to delete is no error
  if (!DeleteAllSubKeys(root, keyPath)) FailRegistry("DeleteAllSubKeys");
}

void DeleteRegKeyEx(HKEY root, LPCSTR keyPath) { DeleteTree(root, keyPath, "DeleteRegKeyEx"); }

void DeleteRegKey(LPCSTR keyPath) { DeleteTree(HKEY_CLASSES_ROOT, keyPath, "DeleteRegKey"); }

// Deletes every subkey from the highest index down, then the key itself.
// The two work buffers are sized once for this level from the longest name.
static INT DeleteChildren(HKEY root, LPCSTR keyPath, HKEY key, DWORD subKeys, DWORD nameSize,
                          LPSTR name, LPSTR childPath) {
  INT pathLength = lstrlenA(keyPath);
  for (DWORD index = subKeys; index-- > 0;) {
    LONG result = CallRegEnumKey(key, index, name, nameSize);
    if (result == ERROR_NO_MORE_ITEMS) continue;  // vanished since the count was read
    if (result != ERROR_SUCCESS) {
      ReportRegistryError("DeleteAllSubKeys:enum");
      return 0;
    }
    name[nameSize - 1] = '\0';
    // Joined by hand: wsprintfA stops at 1024 characters, the registry does not.
    lstrcpyA(childPath, keyPath);
    childPath[pathLength] = '\\';
    lstrcpyA(childPath + pathLength + 1, name);
    if (!DeleteAllSubKeys(root, childPath)) return 0;
  }
  return 1;
}

INT DeleteAllSubKeys(HKEY root, LPCSTR keyPath) {
  HKEY key = nullptr;
  if (CallRegOpenKeyEx(root, keyPath, KEY_READ, &key) != ERROR_SUCCESS) {
    ReportRegistryError("DeleteAllSubKeys:open");
    return 0;
  }

  char className[128];
  DWORD classSize = sizeof className;
  DWORD subKeys = 0;
  DWORD longest = 0;
  if (CallRegQueryInfoKey(key, className, &classSize, &subKeys, &longest) != ERROR_SUCCESS ||
      longest > kLongestBelievableName) {
    CallRegCloseKey(key);
    return 0;
  }

  if (subKeys == 0) {
    CallRegCloseKey(key);
    CallRegDeleteKey(root, keyPath);
    return 1;
  }

  // The longest name comes in UTF-16 units; its ANSI form takes up to two
  // bytes for each of them (a double-byte character set).
  DWORD nameSize = 2 * longest + 1;
  LPSTR name = static_cast<LPSTR>(LocalAlloc(LMEM_FIXED, nameSize));
  LPSTR childPath = name == nullptr ? nullptr
                                    : static_cast<LPSTR>(LocalAlloc(
                                          LMEM_FIXED, nameSize + lstrlenA(keyPath) + 1));
  INT done = 0;
  if (childPath == nullptr) {
    ReportRegistryError("DeleteAllSubKeys:alloc");
  } else {
    done = DeleteChildren(root, keyPath, key, subKeys, nameSize, name, childPath);
  }
  CallRegCloseKey(key);
  if (done) CallRegDeleteKey(root, keyPath);
  if (childPath != nullptr) LocalFree(childPath);
  if (name != nullptr) LocalFree(name);
  return done;
}
