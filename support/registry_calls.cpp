#include "support/registry_calls.h"

#include "support/registry_binding.h"

// ERROR_CALL_NOT_IMPLEMENTED: the entry point was not bound.
static const LONG kNoEntryPoint = 120;

#define REGISTRY_SLOT(name) \
  if (RegistryFunctions.name == nullptr) return kNoEntryPoint; \
  return RegistryFunctions.name

LONG CallRegCloseKey(HKEY key) { REGISTRY_SLOT(RegCloseKey)(key); }

LONG CallRegCreateKey(HKEY root, LPCSTR path, PHKEY key) {
  REGISTRY_SLOT(RegCreateKeyA)(root, path, key);
}

LONG CallRegDeleteKey(HKEY root, LPCSTR path) { REGISTRY_SLOT(RegDeleteKeyA)(root, path); }

LONG CallRegOpenKey(HKEY root, LPCSTR path, PHKEY key) {
  REGISTRY_SLOT(RegOpenKeyA)(root, path, key);
}

LONG CallRegQueryValue(HKEY root, LPCSTR path, LPSTR data, PLONG count) {
  REGISTRY_SLOT(RegQueryValueA)(root, path, data, count);
}

LONG CallRegSetValue(HKEY root, LPCSTR path, DWORD type, LPCSTR data, DWORD count) {
  REGISTRY_SLOT(RegSetValueA)(root, path, type, data, count);
}

LONG CallRegOpenKeyEx(HKEY root, LPCSTR path, REGSAM access, PHKEY key) {
  REGISTRY_SLOT(RegOpenKeyExA)(root, path, 0, access, key);
}

LONG CallRegQueryValueEx(HKEY key, LPCSTR name, LPDWORD type, LPBYTE data, LPDWORD count) {
  REGISTRY_SLOT(RegQueryValueExA)(key, name, nullptr, type, data, count);
}

LONG CallRegSetValueEx(HKEY key, LPCSTR name, DWORD type, const BYTE* data, DWORD count) {
  REGISTRY_SLOT(RegSetValueExA)(key, name, 0, type, data, count);
}

LONG CallRegEnumKey(HKEY key, DWORD index, LPSTR name, DWORD size) {
  REGISTRY_SLOT(RegEnumKeyA)(key, index, name, size);
}

LONG CallRegEnumValue(HKEY key, DWORD index, LPSTR name, LPDWORD nameSize, LPDWORD type,
                       LPBYTE data, LPDWORD dataSize) {
  REGISTRY_SLOT(RegEnumValueA)(key, index, name, nameSize, nullptr, type, data, dataSize);
}

LONG CallRegDeleteValue(HKEY key, LPCSTR name) { REGISTRY_SLOT(RegDeleteValueA)(key, name); }

LONG CallRegQueryInfoKey(HKEY key, LPSTR className, LPDWORD classSize, LPDWORD subKeys,
                         LPDWORD maxSubKeyLength) {
  DWORD maxClass, values, maxValueName, maxValue, security;
  FILETIME written;
  REGISTRY_SLOT(RegQueryInfoKeyA)(key, className, classSize, nullptr, subKeys, maxSubKeyLength,
                                  &maxClass, &values, &maxValueName, &maxValue, &security,
                                  &written);
}
