// Registry keys and values through the bound entry points: keys created,
// values written and read, existence tested, whole trees deleted. A failure
// is reported under the routine's name and ends the program, except where a
// result says otherwise.
#pragma once

#include "platform/win32.h"

// Under HKEY_CLASSES_ROOT; values are the key's default (unnamed) value.
void CreateRegKey(LPCSTR keyPath);
void CreateRegKeyValue(LPCSTR keyPath, LPCSTR value);
void SetRegKeyValue(LPCSTR keyPath, LPCSTR value);
// The buffer holds size + 1 bytes; a missing key gives the empty string.
LPSTR GetRegKeyValue(LPCSTR keyPath, LPSTR buffer, INT size);
INT DoesRegKeyExist(LPCSTR keyPath);
void DeleteRegKey(LPCSTR keyPath);

// Under a given root (a predefined key or an open one).
void CreateRegKeyEx(HKEY root, LPCSTR keyPath);
void CreateRegKeyValueEx(HKEY root, LPCSTR keyPath, LPCSTR valueName, DWORD type,
                         const BYTE* data, DWORD size);
void SetRegKeyValueEx(HKEY root, LPCSTR keyPath, LPCSTR valueName, DWORD type,
                      const BYTE* data, DWORD size);
// 0, or ERROR_BADKEY when the key does not exist; no terminator is added.
LONG GetRegKeyValueEx(HKEY root, LPCSTR keyPath, LPCSTR valueName, LPDWORD type, LPBYTE data,
                      DWORD size);
INT DoesRegKeyExistEx(HKEY root, LPCSTR keyPath);
void DeleteRegKeyEx(HKEY root, LPCSTR keyPath);

// Deletes the key after all its subkeys, deepest and highest index first.
// 0 when something could not be opened, listed or allocated.
INT DeleteAllSubKeys(HKEY root, LPCSTR keyPath);
