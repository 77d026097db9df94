// INI files and the AUTOEXEC path, guarded. Each wrapper is its toolkit
// operation's guarded form; one file per concern, so that a program imports
// only the operations of the wrappers it calls.
#include "toolkit/wrappers.h"

#include "support/guarded.h"
#include "contract/toolkit_api.h"

void DeleteIniSection(LPCSTR file, LPCSTR section, UINT options) {
  Guarded<FRemoveIniSection>(file, section, options);
}
void WriteIniValue(LPCSTR file, LPCSTR section, LPCSTR key, LPCSTR value, UINT options) {
  Guarded<FCreateIniKeyValue>(file, section, key, value, options);
}
void DeleteIniKey(LPCSTR file, LPCSTR section, LPCSTR key, UINT options) {
  Guarded<FRemoveIniKey>(file, section, key, options);
}
void WriteSystemIniValue(LPCSTR file, LPCSTR section, LPCSTR key, LPCSTR value, UINT options) {
  Guarded<FCreateSysIniKeyValue>(file, section, key, value, options);
}
void PrependPathEntry(LPCSTR file, LPCSTR dst, LPCSTR dir, UINT options) {
  Guarded<FPrependToPath>(file, dst, dir, options);
}
