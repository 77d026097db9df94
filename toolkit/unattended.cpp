#include "toolkit/unattended.h"

#include "contract/toolkit_api.h"
#include "toolkit/log_lines.h"
#include "platform/setup-toolkit/core/copy_job.h"
#include "platform/setup-toolkit/core/sha256.h"

static FARPROC ShellExport(LPCSTR name) { return ToolkitExport("MSSHLSTF.dll", name); }

BOOL ToldWithoutBox(LPCSTR text) {
  typedef BOOL(STFAPI * Told)(LPCSTR);
  Told told = reinterpret_cast<Told>(reinterpret_cast<void*>(ShellExport("StfStartupFailure")));
  return told != nullptr && told(text);
}

void ReportStartupFailure(LPCSTR text) {
  if (!ToldWithoutBox(text)) MessageBoxA(nullptr, text, "Error", MB_OK | MB_ICONHAND);
}

// A toolkit without the check cannot vouch for the file: refused, not skipped.
bool DiskFileIntact(LPCSTR file) {
  typedef BOOL(STFAPI * Check)(LPCSTR);
  Check check = reinterpret_cast<Check>(
      reinterpret_cast<void*>(CommonExport("StfCheckDiskFile")));
  if (check == nullptr) {
    char line[400];
    wsprintfA(line, "Error: %.200s cannot be checked: MSCOMSTF.dll has no StfCheckDiskFile", file);
    LogText(line);
    return false;
  }
  return check(file) != FALSE;
}

bool DiskFileListed(LPCSTR file, PlacedFile* expected) {
  typedef BOOL(STFAPI * Expected)(LPCSTR, stf::ExpectedBytes*);
  Expected lookUp = reinterpret_cast<Expected>(
      reinterpret_cast<void*>(CommonExport("StfDiskFileExpected")));
  stf::ExpectedBytes bytes;
  if (lookUp == nullptr || !lookUp(file, &bytes) || !bytes.listed) return false;
  expected->path = file;
  expected->hashed = true;
  expected->size = bytes.size;
  expected->sha256 = stf::Sha256Text(bytes.digest);
  return true;
}

void LogEarlyToolkitChecks(void) {
  typedef void(STFAPI * LogEarly)(void);
  LogEarly log = reinterpret_cast<LogEarly>(
      reinterpret_cast<void*>(CommonExport("StfLogEarlyChecks")));
  if (log != nullptr) log();
}
