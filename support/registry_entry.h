// A registry key with its values, written whole or not at all, read back and
// removed: the uninstall entry that Programs and Features lists. Failures are
// answered, not fatal: the caller undoes its own work first.
#pragma once

#include "platform/win32.h"

struct RegistryValue {
  LPCSTR name;
  DWORD type;  // REG_SZ, REG_MULTI_SZ (text: strings, an empty one last) or REG_DWORD
  LPCSTR text;
  DWORD number;
};

// Replaces the key by one with exactly these values. ERROR_SUCCESS, or the
// error of the first call that failed (named in *failedCall); the key is then
// removed again.
LONG WriteRegistryEntry(HKEY root, LPCSTR keyPath, const RegistryValue* values, int count,
                        LPCSTR* failedCall);
// A string value, or FALSE when the key or value is missing or does not fit.
BOOL ReadRegistryText(HKEY root, LPCSTR keyPath, LPCSTR name, LPSTR buffer, DWORD size);
// A REG_MULTI_SZ value: strings, each closed by a NUL, then an empty one.
// FALSE when the key or value is missing, of another type, or does not fit.
BOOL ReadRegistryList(HKEY root, LPCSTR keyPath, LPCSTR name, LPSTR buffer, DWORD size);
BOOL RegistryEntryExists(HKEY root, LPCSTR keyPath);
// Removes a key that has no subkeys; a missing key is no error.
LONG RemoveRegistryEntry(HKEY root, LPCSTR keyPath);
