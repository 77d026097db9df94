// A registry key with its values, written whole or left as it was, read back
// and removed: the uninstall entry that Programs and Features lists, and the
// keys a failed install puts back. Failures are answered, not fatal: the
// caller undoes its own work first.
#pragma once

#include <string>
#include <vector>

#include "platform/win32.h"

struct RegistryValue {
  std::string name;
  DWORD type;
  std::string data;  // the bytes as stored: a string with its terminator
};

RegistryValue TextValue(const std::string& name, const std::string& text);  // REG_SZ
RegistryValue NumberValue(const std::string& name, DWORD number);            // REG_DWORD
// REG_MULTI_SZ: each item closed by a NUL, then an empty one.
RegistryValue ListValue(const std::string& name, const std::vector<std::string>& items);

// A key as it was: whether it existed, and every value it held.
struct RegistryKeyState {
  bool existed = false;
  std::vector<RegistryValue> values;
};

// ERROR_SUCCESS with the key's state, or the error of the read that failed.
LONG SaveRegistryKey(HKEY root, LPCSTR keyPath, RegistryKeyState* state);
// Makes the key what the state says: its values back, the others gone, or
// the key gone when it did not exist.
LONG RestoreRegistryKey(HKEY root, LPCSTR keyPath, const RegistryKeyState& state);

// Makes the key hold exactly these values. ERROR_SUCCESS, or the error of the
// first call that failed (named in *failedCall); the key is then as it was.
LONG WriteRegistryEntry(HKEY root, LPCSTR keyPath, const std::vector<RegistryValue>& values,
                        std::string* failedCall);
// One value set in an existing key.
LONG SetRegistryValue(HKEY root, LPCSTR keyPath, const RegistryValue& value);
// One value removed from an existing key; a missing value is no error.
LONG DeleteRegistryValue(HKEY root, LPCSTR keyPath, LPCSTR name);
// A value's bytes as stored, of any size; false when the key or value is
// missing or cannot be read.
bool ReadRegistryValue(HKEY root, LPCSTR keyPath, LPCSTR name, DWORD* type, std::string* data);
BOOL RegistryEntryExists(HKEY root, LPCSTR keyPath);
// Removes a key that has no subkeys; a missing key is no error.
LONG RemoveRegistryEntry(HKEY root, LPCSTR keyPath);
