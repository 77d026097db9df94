#include "support/registry_entry.h"

#include "support/registry_calls.h"

// The bytes of a list of strings, its closing empty string included.
static DWORD ListBytes(LPCSTR list) {
  LPCSTR p = list;
  while (*p != '\0') p += lstrlenA(p) + 1;
  return static_cast<DWORD>(p - list + 1);
}

static LONG SetValue(HKEY key, const RegistryValue& value) {
  if (value.type == REG_DWORD) {
    return CallRegSetValueEx(key, value.name, REG_DWORD,
                             reinterpret_cast<const BYTE*>(&value.number), sizeof value.number);
  }
  if (value.type == REG_MULTI_SZ) {
    return CallRegSetValueEx(key, value.name, REG_MULTI_SZ,
                             reinterpret_cast<const BYTE*>(value.text), ListBytes(value.text));
  }
  return CallRegSetValueEx(key, value.name, REG_SZ, reinterpret_cast<const BYTE*>(value.text),
                           static_cast<DWORD>(lstrlenA(value.text) + 1));
}

LONG WriteRegistryEntry(HKEY root, LPCSTR keyPath, const RegistryValue* values, int count,
                        LPCSTR* failedCall) {
  // Written whole: no value of an earlier write outlives this one.
  LONG result = RemoveRegistryEntry(root, keyPath);
  if (result != ERROR_SUCCESS) {
    *failedCall = "RegDeleteKeyA";
    return result;
  }
  HKEY key = nullptr;
  result = CallRegCreateKey(root, keyPath, &key);
  if (result != ERROR_SUCCESS) {
    *failedCall = "RegCreateKeyA";
    return result;
  }
  for (int i = 0; i < count && result == ERROR_SUCCESS; ++i) {
    result = SetValue(key, values[i]);
    if (result != ERROR_SUCCESS) *failedCall = "RegSetValueExA";
  }
  CallRegCloseKey(key);
  if (result != ERROR_SUCCESS) CallRegDeleteKey(root, keyPath);  // no half entry stays
  return result;
}

BOOL ReadRegistryText(HKEY root, LPCSTR keyPath, LPCSTR name, LPSTR buffer, DWORD size) {
  HKEY key = nullptr;
  if (size == 0 || CallRegOpenKeyEx(root, keyPath, KEY_READ, &key) != ERROR_SUCCESS) return FALSE;
  DWORD type = 0, count = size - 1;
  LONG result = CallRegQueryValueEx(key, name, &type, reinterpret_cast<LPBYTE>(buffer), &count);
  CallRegCloseKey(key);
  if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ) || count >= size) {
    return FALSE;
  }
  buffer[count] = '\0';  // a value stored without its terminator
  return TRUE;
}

BOOL ReadRegistryList(HKEY root, LPCSTR keyPath, LPCSTR name, LPSTR buffer, DWORD size) {
  HKEY key = nullptr;
  if (size < 2 || CallRegOpenKeyEx(root, keyPath, KEY_READ, &key) != ERROR_SUCCESS) return FALSE;
  DWORD type = 0, count = size - 2;
  LONG result = CallRegQueryValueEx(key, name, &type, reinterpret_cast<LPBYTE>(buffer), &count);
  CallRegCloseKey(key);
  if (result != ERROR_SUCCESS || type != REG_MULTI_SZ || count > size - 2) return FALSE;
  buffer[count] = '\0';  // closes a list stored without its terminators
  buffer[count + 1] = '\0';
  return TRUE;
}

BOOL RegistryEntryExists(HKEY root, LPCSTR keyPath) {
  HKEY key = nullptr;
  if (CallRegOpenKeyEx(root, keyPath, KEY_READ, &key) != ERROR_SUCCESS) return FALSE;
  CallRegCloseKey(key);
  return TRUE;
}

LONG RemoveRegistryEntry(HKEY root, LPCSTR keyPath) {
  LONG result = CallRegDeleteKey(root, keyPath);
  return result == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : result;
}
