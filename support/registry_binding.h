// Registry entry points bound at run time from ADVAPI32.DLL, never imported,
// so that the program starts even where the registry API is unavailable.
#pragma once

#include "platform/win32.h"

struct RegistryEntryPoints {
  // Required: binding fails without any of these.
  LONG(WINAPI* RegCloseKey)(HKEY hKey);
  LONG(WINAPI* RegCreateKeyA)(HKEY hKey, LPCSTR lpSubKey, PHKEY phkResult);
  LONG(WINAPI* RegDeleteKeyA)(HKEY hKey, LPCSTR lpSubKey);
  LONG(WINAPI* RegOpenKeyA)(HKEY hKey, LPCSTR lpSubKey, PHKEY phkResult);
  LONG(WINAPI* RegQueryValueA)(HKEY hKey, LPCSTR lpSubKey, LPSTR lpData, PLONG lpcbData);
  LONG(WINAPI* RegSetValueA)(HKEY hKey, LPCSTR lpSubKey, DWORD dwType, LPCSTR lpData,
                             DWORD cbData);
  // Optional: a missing one leaves its slot null.
  LONG(WINAPI* RegCreateKeyExA)(HKEY hKey, LPCSTR lpSubKey, DWORD Reserved, LPSTR lpClass,
                                DWORD dwOptions, REGSAM samDesired, LPVOID lpSecurityAttributes,
                                PHKEY phkResult, LPDWORD lpdwDisposition);
  LONG(WINAPI* RegOpenKeyExA)(HKEY hKey, LPCSTR lpSubKey, DWORD ulOptions, REGSAM samDesired,
                              PHKEY phkResult);
  LONG(WINAPI* RegQueryValueExA)(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved,
                                 LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData);
  LONG(WINAPI* RegSetValueExA)(HKEY hKey, LPCSTR lpValueName, DWORD Reserved, DWORD dwType,
                               const BYTE* lpData, DWORD cbData);
  LONG(WINAPI* RegEnumKeyA)(HKEY hKey, DWORD dwIndex, LPSTR lpName, DWORD cchName);
  LONG(WINAPI* RegQueryInfoKeyA)(HKEY hKey, LPSTR lpClass, LPDWORD lpcchClass,
                                 LPDWORD lpReserved, LPDWORD lpcSubKeys,
                                 LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen,
                                 LPDWORD lpcValues, LPDWORD lpcbMaxValueNameLen,
                                 LPDWORD lpcbMaxValueLen, LPDWORD lpcbSecurityDescriptor,
                                 PFILETIME lpftLastWriteTime);
  LONG(WINAPI* RegEnumValueA)(HKEY hKey, DWORD dwIndex, LPSTR lpValueName,
                              LPDWORD lpcchValueName, LPDWORD lpReserved, LPDWORD lpType,
                              LPBYTE lpData, LPDWORD lpcbData);
  LONG(WINAPI* RegDeleteValueA)(HKEY hKey, LPCSTR lpValueName);
};

extern HMODULE RegistryLibrary;
extern RegistryEntryPoints RegistryFunctions;

// 1 when the six required entry points are bound; 0 with nothing left loaded.
int BindRegistryFunctions(void);
// Frees the library when bound; safe to call any number of times.
void UnbindRegistryFunctions(void);
