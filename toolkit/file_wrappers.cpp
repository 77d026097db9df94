// Files and folders: create, remove, copy, back up, find, guarded. Each wrapper is its toolkit
// operation's guarded form; one file per concern, so that a program imports
// only the operations of the wrappers it calls.
#include "toolkit/wrappers.h"

#include "support/guarded.h"
#include "contract/toolkit_api.h"

void MakeDirectory(LPCSTR dir, UINT options) { Guarded<FCreateDir>(dir, options); }
void DeleteDirectory(LPCSTR dir, UINT options) { Guarded<FRemoveDir>(dir, options); }
void StampFileResource(LPCSTR section, LPCSTR key, LPCSTR dst, UINT resType, UINT resId,
                       LPCSTR data, INT cbData) {
  Guarded<FStampResource>(section, key, dst, resType, resId, data, cbData);
}
void EraseFile(LPCSTR file, UINT options) { Guarded<YnrcRemoveFile>(file, options); }
void SaveFileBackup(LPCSTR file, LPCSTR backup) { Guarded<YnrcBackupFile>(file, backup, 0u); }
void CopySingleFile(LPCSTR src, LPCSTR dst, UINT options, BOOL append) {
  Guarded<FCopyOneFile>(src, dst, options | cmoOverwrite, append);
}
LPSTR FindFileByOpening(LPCSTR file, LPSTR buffer, INT size) {
  if (buffer != nullptr) buffer[0] = ' ';
  INT result = WFindFileUsingFileOpen(file, buffer, size);
  if (result == 0) return buffer;
  if (buffer != nullptr) buffer[0] = '\0';
  if (result != 1) FatalSetupError();
  return buffer;
}
BOOL CanWriteDirectory(LPCSTR dir) { return FIsDirWritable(dir); }
BOOL CanWriteFile(LPCSTR file) { return FIsFileWritable(file); }
