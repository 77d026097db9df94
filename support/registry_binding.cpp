#include "support/registry_binding.h"

HMODULE RegistryLibrary = nullptr;
RegistryEntryPoints RegistryFunctions;

// GetProcAddress hands back a generic pointer; each slot has its own type.
template <typename Entry>
static bool LookUp(Entry& slot, const char* name) {
  slot = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(RegistryLibrary, name)));
  return slot != nullptr;
}

int BindRegistryFunctions(void) {
  RegistryLibrary = LoadLibraryA("ADVAPI32.DLL");
  if (RegistryLibrary == nullptr) return 0;

  RegistryEntryPoints& f = RegistryFunctions;
  bool required = LookUp(f.RegCloseKey, "RegCloseKey");
  required = LookUp(f.RegCreateKeyA, "RegCreateKeyA") && required;
  required = LookUp(f.RegDeleteKeyA, "RegDeleteKeyA") && required;
  required = LookUp(f.RegOpenKeyA, "RegOpenKeyA") && required;
  required = LookUp(f.RegQueryValueA, "RegQueryValueA") && required;
  required = LookUp(f.RegSetValueA, "RegSetValueA") && required;
  if (!required) {
    FreeLibrary(RegistryLibrary);
    RegistryLibrary = nullptr;
    return 0;
  }

  LookUp(f.RegCreateKeyExA, "RegCreateKeyExA");
  LookUp(f.RegOpenKeyExA, "RegOpenKeyExA");
  LookUp(f.RegQueryValueExA, "RegQueryValueExA");
  LookUp(f.RegSetValueExA, "RegSetValueExA");
  LookUp(f.RegEnumKeyA, "RegEnumKeyA");
  LookUp(f.RegQueryInfoKeyA, "RegQueryInfoKeyA");
  LookUp(f.RegEnumValueA, "RegEnumValueA");
  LookUp(f.RegDeleteValueA, "RegDeleteValueA");
  return 1;
}

void UnbindRegistryFunctions(void) {
  if (RegistryLibrary == nullptr) return;
  FreeLibrary(RegistryLibrary);
  RegistryLibrary = nullptr;
}
