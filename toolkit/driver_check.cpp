// The driver's check: the facts from the machine, the rules' decision, and
// what the decision asks done. Nothing here takes the fatal path: a check
// that cannot read or change something says so in its state and its log.
#include "toolkit/driver_check.h"

#include <vector>

#include "contract/toolkit_api.h"
#include "platform/dialogs/box_text_ids.h"
#include "resources/product.h"
#include "support/boot_check.h"
#include "support/driver_check_rules.h"
#include "support/driver_service.h"
#include "support/file_digest.h"
#include "support/fs_redirection.h"
#include "support/install_record.h"
#include "support/previous_driver.h"
#include "support/registry_entry.h"
#include "toolkit/log_lines.h"

static const char kCheckedValue[] = "DriverChecked";
static const char kCheckLogValue[] = "DriverCheckLog";

CheckRequest RequestedCheck(void) {
  char value[16] = "";
  CbGetSymbolValue("STF_VERIFY", value, sizeof value);
  if (lstrcmpiA(value, "restore") == 0) return CheckRequest::kRestore;
  if (lstrcmpiA(value, "check") == 0) return CheckRequest::kCheck;
  return CheckRequest::kNone;
}

namespace {

struct Machine {
  std::string systemDir;   // as Windows spells it, ending in a backslash
  std::string driverPath;  // DRIVERS\<driver file>, as the record spells it
  std::vector<PlacedFile> recorded;
  PlacedFile kept;         // the kept previous driver file, when the entry names one
  PreviousService previous;
};

std::string EntryText(LPCSTR name) {
  DWORD type = 0;
  std::string bytes;
  if (!ReadRegistryValue(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, name, &type, &bytes) ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return "";
  }
  return RegistryText(bytes);
}

const PlacedFile* Recorded(const Machine& m, const std::string& path) {
  for (const PlacedFile& file : m.recorded) {
    if (file.hashed && PathKey(file.path) == PathKey(path)) return &file;
  }
  return nullptr;
}

// Is the file at path still the bytes recorded for it? *problem says why not.
bool StillRecorded(const std::string& path, const PlacedFile* record, std::string* problem) {
  if (record == nullptr) {
    *problem = "The uninstall entry records no size and SHA-256 of " + path + ".";
    return false;
  }
  PlacedFile now;
  LPCSTR call = "";
  PVOID redirection = TurnOffFileRedirection();
  const DWORD error = DigestFile(path.c_str(), &now, &call);
  RestoreFileRedirection(redirection);
  if (error != ERROR_SUCCESS) {
    *problem = path + " cannot be read (" + call + ", error " + std::to_string(error) + ").";
    return false;
  }
  if (!SameContent(now, *record)) {
    *problem = path + " is not the file the install placed: " + std::to_string(now.size) +
               " bytes, SHA-256 " + now.sha256 + "; the entry records " +
               std::to_string(record->size) + " bytes, SHA-256 " + record->sha256 + ".";
    return false;
  }
  return true;
}

CheckedService ReadService(const Machine& m) {
  CheckedService s;
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
  SC_HANDLE service = manager == nullptr ? nullptr
                                         : OpenServiceA(manager, DriverService.name,
                                                        SERVICE_QUERY_STATUS | SERVICE_QUERY_CONFIG);
  if (service == nullptr) {
    const DWORD error = GetLastError();
    if (error != ERROR_SERVICE_DOES_NOT_EXIST) {
      LogFailedCall(manager == nullptr ? "OpenSCManagerA" : "OpenServiceA", DriverService.name,
                    error);
    }
    if (manager != nullptr) CloseServiceHandle(manager);
    return s;
  }
  s.exists = true;
  SERVICE_STATUS status;
  if (QueryServiceStatus(service, &status)) {
    s.running = status.dwCurrentState == SERVICE_RUNNING;
    s.exitCode = status.dwWin32ExitCode == ERROR_SERVICE_SPECIFIC_ERROR
                     ? status.dwServiceSpecificExitCode
                     : status.dwWin32ExitCode;
  } else {
    LogFailedCall("QueryServiceStatus", DriverService.name, GetLastError());
  }
  if (const DWORD error = ReadServiceConfig(service, &s)) {
    LogFailedCall("QueryServiceConfigA", DriverService.name, error);
  } else {
    s.imageNamesDriver = NamesDriverFile(s.imagePath.c_str(), m.systemDir.c_str());
  }
  CloseServiceHandle(service);
  CloseServiceHandle(manager);
  return s;
}

KeptDriver ReadKept(Machine* m) {
  KeptDriver kept;
  const std::string item = EntryText(kPreviousDriverValue);
  if (item.empty()) return kept;
  m->kept = ReadPlacedFileItem(item);
  if (!m->kept.hashed) return kept;
  kept.kept = true;
  std::string problem;
  const std::string config = ConfigPathOf(m->kept.path);
  kept.intact = StillRecorded(m->kept.path, &m->kept, &problem) &&
                StillRecorded(config, Recorded(*m, config), &problem) &&
                ReadKeptConfig(config, &m->previous);
  if (!kept.intact) LogText("The kept previous driver: " + (problem.empty() ? config + " cannot be read." : problem));
  kept.wasRunning = m->previous.running;
  kept.version = m->previous.version;
  return kept;
}

std::string Now(void) {
  SYSTEMTIME t;
  GetLocalTime(&t);
  char text[32];
  wsprintfA(text, "%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour,
            t.wMinute, t.wSecond);
  return text;
}

void Report(LONG result, const std::string& what) {
  if (result != ERROR_SUCCESS) {
    LogWin32Failure("Cannot write " + what + " in HKLM\\" UNINSTALL_KEY, static_cast<DWORD>(result));
  }
}

// The record without the kept files, and with the driver's item replaced
// when the kept driver took its place.
void RewriteRecord(const Machine& m, bool restored) {
  const std::string config = ConfigPathOf(m.kept.path);
  std::vector<std::string> items;
  for (const PlacedFile& file : m.recorded) {
    const std::string key = PathKey(file.path);
    if (key == PathKey(m.kept.path) || key == PathKey(config)) continue;
    PlacedFile item = file;
    if (restored && key == PathKey(m.driverPath)) {
      item = m.kept;
      item.path = file.path;
    }
    items.push_back(PlacedFileItem(item));
  }
  Report(SetRegistryValue(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, ListValue(kInstalledFilesValue, items)),
         kInstalledFilesValue);
  Report(DeleteRegistryValue(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, kPreviousDriverValue),
         kPreviousDriverValue);
}

void RemoveKept(const Machine& m) {
  for (const std::string& path : {m.kept.path, ConfigPathOf(m.kept.path)}) {
    if (YnrcRemoveFile(path.c_str(), 0) != 1) LogText("Warning: " + path + " stays (see above)");
  }
}

// The kept file and configuration back in place: the copy's transaction
// puts the file back whole or not at all, and a configuration that cannot be
// put back takes the file back out again.
bool Restore(const Machine& m) {
  const std::string record = m.kept.sha256 + " " + std::to_string(m.kept.size);
  PVOID redirection = TurnOffFileRedirection();
  const INT grc = GrcCopyRecordedFile(m.kept.path.c_str(), m.driverPath.c_str(), record.c_str());
  RestoreFileRedirection(redirection);
  if (grc != 0) {
    LogText("Error: the previous driver cannot be put back (copy result " + std::to_string(grc) +
            "); the new driver stays");
    return false;
  }
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
  SC_HANDLE service =
      manager == nullptr ? nullptr : OpenServiceA(manager, DriverService.name, SERVICE_CHANGE_CONFIG);
  const PreviousService& p = m.previous;
  const bool changed =
      service != nullptr &&
      ChangeServiceConfigA(service, p.type, p.start, p.errorControl, p.imagePath.c_str(),
                           p.group.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr);
  if (!changed) {
    LogFailedCall(service == nullptr ? "OpenServiceA" : "ChangeServiceConfigA", DriverService.name,
                  GetLastError());
  }
  if (service != nullptr) CloseServiceHandle(service);
  if (manager != nullptr) CloseServiceHandle(manager);
  if (!changed) {
    LogText(FUndoCopyList() ? "Undone: the new driver file is back in place"
                            : "Error: the new driver file could not be put back; see above");
    return false;
  }
  FCommitCopyList();
  LogText("Restored: " + m.driverPath + " is the previous driver again (" +
          std::to_string(m.kept.size) + " bytes, SHA-256 " + m.kept.sha256 +
          "), and its service's configuration is as it was");
  return true;
}

// The box answers itself where nobody is there to see it.
void ShowToPerson(const CheckDecision& d, const CheckFacts& f) {
  const std::string code = std::to_string(f.service.exitCode);
  const std::string& version = f.previous.version;
  UINT id = IDS_STF_CHECK_NOT_STARTED;
  std::string text = "The driver " DRIVER_FILE_NAME " did not start (code " + code +
                     "). The details are in the log.";
  if (d.verdict == CheckVerdict::kRunning) {
    id = IDS_STF_CHECK_RUNNING;
    text = "The driver " DRIVER_FILE_NAME " is running.";
  } else if (d.verdict == CheckVerdict::kPending) {
    id = IDS_STF_CHECK_PENDING;
    text = "The driver " DRIVER_FILE_NAME " is checked when Windows next starts: Windows has not "
           "restarted since the installation.";
  } else if (d.verdict == CheckVerdict::kRestore || d.verdict == CheckVerdict::kRestoredWaiting) {
    id = IDS_STF_CHECK_RESTORED;
    text = "The previous version " + version + " of the driver " DRIVER_FILE_NAME
           " is back in place; it starts when Windows restarts.";
  } else if (f.previous.kept && f.previous.intact && f.previous.wasRunning) {
    id = IDS_STF_CHECK_CAN_RESTORE;
    text = "The driver " DRIVER_FILE_NAME " did not start (code " + code + "). The previous "
           "version " + version + ", which was running, is kept: run setup with /verify /restore "
           "to put it back.";
  }
  const UINT icon = d.exitCode == 0 ? MB_ICONINFORMATION
                    : d.exitCode == 1603 ? MB_ICONHAND
                                         : MB_ICONEXCLAMATION;
  StfLanguageBox(id, STF_BOX_CAPTION_ID, text.c_str(), PRODUCT_NAME, DRIVER_FILE_NAME,
                 code.c_str(), version.c_str(), icon);
}

Machine ReadMachine(void) {
  Machine m;
  char system[MAX_PATH + 1] = "";
  const UINT length = GetSystemDirectoryA(system, MAX_PATH);
  m.systemDir = length > 0 && length < MAX_PATH ? std::string(system) + "\\" : "C:\\WINDOWS\\SYSTEM32\\";
  m.driverPath = StoredDriversDir(m.systemDir.c_str()) + DRIVER_FILE_NAME;
  DWORD type = 0;
  std::string bytes;
  if (ReadRegistryValue(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, kInstalledFilesValue, &type, &bytes) &&
      type == REG_MULTI_SZ) {
    m.recorded = RecordedFiles(bytes);
  }
  return m;
}

// The service removed itself before the log was open: said here, and done
// again should it not have worked.
void ConfirmBootCheckRemoved(void) {
  LPCSTR call = "";
  const DWORD error = RemoveBootCheck(&call);
  if (error != ERROR_SUCCESS) {
    LogFailedCall(call, kBootCheckService, error);
  } else {
    LogText("The check at the start of Windows is removed: service " +
            std::string(kBootCheckService) + " does not run again");
  }
}

// Does what the decision asks; a restore that fails leaves the new driver
// and reports it as not started.
void Act(const Machine& m, const CheckFacts& f, CheckDecision* d) {
  if (d->restore) {
    if (Restore(m)) {
      RewriteRecord(m, true);
      RemoveKept(m);
      const std::string& version = m.previous.version;
      Report(version.empty()
                 ? DeleteRegistryValue(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, kDisplayVersionValue)
                 : SetRegistryValue(HKEY_LOCAL_MACHINE, UNINSTALL_KEY,
                                    TextValue(kDisplayVersionValue, version)),
             kDisplayVersionValue);
    } else {
      d->verdict = CheckVerdict::kNotStarted;
      d->state = NotStartedState(f.service.exitCode);
      d->exitCode = 1603;
    }
  } else if (d->removeKept) {
    RemoveKept(m);
    RewriteRecord(m, false);
    LogText("The driver runs: the previous driver kept by the install is removed");
  }
}

void WriteState(const std::string& state) {
  Report(SetRegistryValue(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, TextValue(kDriverStateValue, state)),
         kDriverStateValue);
  Report(SetRegistryValue(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, TextValue(kCheckedValue, Now())),
         kCheckedValue);
  char log[MAX_PATH + 1] = "";
  CbGetSymbolValue("STF_LOGFILE", log, sizeof log);
  if (log[0] != '\0') {
    Report(SetRegistryValue(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, TextValue(kCheckLogValue, log)),
           kCheckLogValue);
  }
}

}  // namespace

int RunDriverCheck(bool mayChange, bool atBoot) {
  Machine m = ReadMachine();
  LogText(std::string("Driver check") + (atBoot ? " at the start of Windows" : " on demand") +
          (mayChange ? ", changes allowed" : ", the driver left as it is"));
  if (atBoot) ConfirmBootCheckRemoved();

  CheckFacts f;
  f.service = ReadService(m);
  f.fileMatches = StillRecorded(m.driverPath, Recorded(m, m.driverPath), &f.fileProblem);
  f.lastState = EntryText(kDriverStateValue);
  f.bootCheckPending = !atBoot && BootCheckPending();
  f.recorded = !m.recorded.empty();
  f.mayChange = mayChange && f.recorded;  // no entry: nothing of ours to change
  f.previous = ReadKept(&m);
  CheckDecision d = DecideDriverCheck(f, DriverService);

  LogText("Service " + std::string(DriverService.name) + ": " +
          (!f.service.exists ? "not registered"
           : f.service.running ? "running"
                               : "not running, code " + std::to_string(f.service.exitCode)));
  for (const std::string& finding : d.findings) LogText("Warning: " + finding);
  Act(m, f, &d);
  if (d.writeEntry) WriteState(d.state);
  ShowToPerson(d, f);
  StfSetCheckOutcome(d.exitCode, d.state.c_str());
  return d.exitCode;
}
