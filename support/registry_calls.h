// The bound registry entry points, each answering a failure code instead of
// crashing when its slot is empty (unbound, or not exported by the system).
#pragma once

#include "platform/win32.h"

LONG CallRegCloseKey(HKEY key);
LONG CallRegCreateKey(HKEY root, LPCSTR path, PHKEY key);
LONG CallRegDeleteKey(HKEY root, LPCSTR path);
LONG CallRegOpenKey(HKEY root, LPCSTR path, PHKEY key);
LONG CallRegQueryValue(HKEY root, LPCSTR path, LPSTR data, PLONG count);
LONG CallRegSetValue(HKEY root, LPCSTR path, DWORD type, LPCSTR data, DWORD count);
LONG CallRegOpenKeyEx(HKEY root, LPCSTR path, REGSAM access, PHKEY key);
LONG CallRegQueryValueEx(HKEY key, LPCSTR name, LPDWORD type, LPBYTE data, LPDWORD count);
LONG CallRegSetValueEx(HKEY key, LPCSTR name, DWORD type, const BYTE* data, DWORD count);
LONG CallRegEnumKey(HKEY key, DWORD index, LPSTR name, DWORD size);
LONG CallRegEnumValue(HKEY key, DWORD index, LPSTR name, LPDWORD nameSize, LPDWORD type,
                       LPBYTE data, LPDWORD dataSize);
LONG CallRegDeleteValue(HKEY key, LPCSTR name);
LONG CallRegQueryInfoKey(HKEY key, LPSTR className, LPDWORD classSize, LPDWORD subKeys,
                         LPDWORD maxSubKeyLength);
