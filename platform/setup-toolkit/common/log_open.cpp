// Opening the setup log: the /log name, or a new one of the run's own; what
// cannot be opened is reported (a box, unless the run is quiet). The log's
// path is kept as a symbol for the error dialogs and standard error.
#include "platform/setup-toolkit/common/common_state.h"
#include "platform/setup-toolkit/common/log_file.h"
#include "dbcs_path.h"
#include "log_file_rules.h"
#include "setup_log.h"

namespace {

// The full path: the error dialogs and standard error tell the person where to look.
void SetLogSymbol(const std::string& file) {
  char full[MAX_PATH];
  LPSTR name = nullptr;
  const DWORD length = GetFullPathNameA(file.c_str(), sizeof full, full, &name);
  Symbols().Set(STF_SYM_LOGFILE, length > 0 && length < sizeof full ? full : file);
}

}  // namespace

extern "C" {

BOOL STFAPI FOpenLogFile(LPCSTR file, BOOL append) {
  // Say what a folder is, rather than a bare "Access is denied".
  const DWORD attributes = file != nullptr ? GetFileAttributesA(file) : INVALID_FILE_ATTRIBUTES;
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    ReportProblem("The setup log " + std::string(file) + " cannot be opened: it is a folder; name "
                  "a file in it, for example " + stf::JoinPath(file, "setup.log", StfIsLeadByte));
    return FALSE;
  }
  const std::string path = file ? file : "";
  std::string why;
  DWORD error = 0;
  HANDLE handle = path.empty() ? INVALID_HANDLE_VALUE
                               : OpenCheckedFile(path, OPEN_ALWAYS, &why, &error);
  if (handle == INVALID_HANDLE_VALUE || !AttachLog(handle, append != FALSE)) {
    char system[512];
    if (why.empty()) error = error != 0 ? error : GetLastError();
    ReportProblem("The setup log " + path + " cannot be opened: " +
                  (why.empty() ? std::string(StfErrorText(error, system, sizeof system))
                               : "it " + why + "."));
    return FALSE;
  }
  SetLogSymbol(path);
  return TRUE;
}

BOOL STFAPI FOpenRunLog(LPCSTR program) {
  char dir[MAX_PATH + 1];
  const DWORD length = GetTempPathA(sizeof dir, dir);
  if (length == 0 || length >= sizeof dir) {
    StfWriteStdErr("No log is written: the temporary folder cannot be found (GetTempPathA).");
    return FALSE;
  }
  SYSTEMTIME now;
  GetLocalTime(&now);
  const stf::LocalTime time = {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
  std::string path, why;
  DWORD error = 0;
  // Never a name that is there already: whatever lies there may be a trap.
  for (int attempt = 1; attempt <= 100; ++attempt) {
    path = dir + stf::RunLogName(program ? program : "Setup", time, attempt, StfIsLeadByte);
    HANDLE handle = OpenCheckedFile(path, CREATE_NEW, &why, &error);
    if (handle != INVALID_HANDLE_VALUE) {
      AttachLog(handle, true);
      SetLogSymbol(path);
      return TRUE;
    }
    if (why.empty() && error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
  }
  char system[512];
  StfWriteStdErr("No log is written: " + path + " cannot be created: " +
                 (why.empty() ? std::string(StfErrorText(error, system, sizeof system)) : why));
  return FALSE;
}

const char* STFAPI StfLogFilePath(void) {
  static std::string path;
  if (!Symbols().Get(STF_SYM_LOGFILE, &path)) path.clear();
  return path.c_str();
}

}  // extern "C"
