// The install's side of the check after the restart: the driver it replaces
// is kept in the product's folder before the copy (its file through the
// copy's transaction, its service's configuration and whether it ran beside
// it), and once the install stands the check at the next start of Windows is
// arranged and the entry says what a detection script reads. The kept driver
// lives in the run object.
#include "installer/installer.h"
#include "resources/product.h"
#include "support/boot_check.h"
#include "support/driver_check_rules.h"
#include "support/driver_service.h"
#include "support/file_digest.h"
#include "support/fs_redirection.h"
#include "support/previous_driver.h"
#include "support/setup_paths.h"
#include "toolkit/log_lines.h"
#include "toolkit/setup_lifecycle.h"
#include "contract/toolkit_api.h"

namespace {

std::string InstalledDriver(void) {
  return StoredDriversDir(SetupPaths.SystemDir) + DRIVER_FILE_NAME;
}

// The registered service's configuration and state; false when there is none.
bool ReadPreviousService(ServiceManager* services, PreviousService* previous) {
  SC_HANDLE manager = services->Handle();
  SC_HANDLE service = manager == nullptr ? nullptr
                                         : OpenServiceA(manager, DriverService.name,
                                                        SERVICE_QUERY_STATUS | SERVICE_QUERY_CONFIG);
  bool read = false;
  if (service != nullptr) {
    if (ReadServiceConfig(service, previous) == ERROR_SUCCESS) {
      previous->running = ServiceRunning(service);
      read = true;
    }
    CloseServiceHandle(service);
  }
  return read;
}

void Remove(const std::string& path) {
  if (YnrcRemoveFile(path.c_str(), 0) != 1) LogText("Left as it is: " + path + " (see above)");
}

// The kept driver and its configuration out of the product's folder.
void RemoveKeptFiles(InstallRun* run) {
  Remove(KeptDriverPath(run->plan.productDir));
  Remove(KeptConfigPath(run->plan.productDir));
  run->kept.kept = false;
}

}  // namespace

void KeepPreviousDriver(InstallRun* run) {
  KeptPrevious& kept = run->kept;
  const std::string driver = InstalledDriver();
  PlacedFile old;
  LPCSTR call = "";
  PVOID redirection = TurnOffFileRedirection();
  const DWORD error = DigestFile(driver.c_str(), &old, &call);
  RestoreFileRedirection(redirection);
  PreviousService previous;
  // No driver or no service: nothing to go back to.
  if (error != ERROR_SUCCESS || !ReadPreviousService(&run->services, &previous)) return;
  run->changes.serviceSeen = true;
  run->changes.serviceSeenConfig = previous;
  run->changes.serviceRunning = previous.running;
  // The disk's own driver in place already is not replaced. (A compressed
  // one is kept and dropped again once the copy has left the same bytes.)
  for (const PlannedFile& planned : run->plan.driverFiles) {
    PlacedFile disk;
    if (PathKey(planned.target) == PathKey(DriverFileOf(SetupPaths.SystemDir)) &&
        DigestFile(planned.source.c_str(), &disk, &call) == ERROR_SUCCESS && SameContent(disk, old)) {
      return;
    }
  }
  char version[64] = "";
  if (CbGetVersionOfFile(driver.c_str(), version, sizeof version) < static_cast<INT>(sizeof version)) {
    previous.version = version;
  }
  const std::string& dir = run->plan.productDir;
  kept.folderCreated = GetFileAttributesA(dir.c_str()) == INVALID_FILE_ATTRIBUTES;
  if (!FCreateDir(dir.c_str(), 0)) FatalSetupError();  // the toolkit has logged why
  const std::string target = KeptDriverPath(dir);
  const std::string record = old.sha256 + " " + std::to_string(old.size);
  redirection = TurnOffFileRedirection();
  const INT grc = GrcCopyRecordedFile(driver.c_str(), target.c_str(), record.c_str());
  RestoreFileRedirection(redirection);
  if (grc != 0) FatalSetupError();  // the toolkit has logged why
  // Made final when the copy starts, which commits what is pending first.
  kept.kept = true;
  kept.file = old;
  kept.file.path = target;
  if (!WriteKeptConfig(KeptConfigPath(dir), previous)) FatalSetupError();
  LogText("Kept the driver this install replaces: " + target + " (version " +
          (previous.version.empty() ? std::string("none") : previous.version) + ", " +
          (previous.running ? "running" : "not running") + "), its service's configuration in " +
          KeptConfigPath(dir));
}

// After the uninstaller's undo, so that a folder made for the kept driver is empty.
void UndoKeptDriver(InstallRun* run) {
  KeptPrevious& kept = run->kept;
  const std::string& dir = run->plan.productDir;
  if (kept.kept) {
    RemoveKeptFiles(run);
    LogText("Undone: the kept previous driver removed");
  }
  if (kept.folderCreated && !FRemoveDir(dir.c_str(), 0)) {
    LogText("Left as it is: the product's folder (see above)");
  }
  kept.folderCreated = false;
}

// After the copy: a driver the copy left as it was (a compressed source of
// the same bytes) needs no keeping.
void DropKeptIfUnchanged(InstallRun* run) {
  KeptPrevious& kept = run->kept;
  if (!kept.kept) return;
  PlacedFile now;
  LPCSTR call = "";
  PVOID redirection = TurnOffFileRedirection();
  const bool same = DigestFile(InstalledDriver().c_str(), &now, &call) == ERROR_SUCCESS &&
                    SameContent(now, kept.file);
  RestoreFileRedirection(redirection);
  if (same) RemoveKeptFiles(run);
}

std::vector<PlacedFile> KeptDriverFiles(const KeptPrevious& kept, const std::string& dir) {
  if (!kept.kept) return {};
  std::vector<PlacedFile> files = {kept.file};
  PlacedFile config;
  LPCSTR call = "";
  const DWORD error = DigestFile(KeptConfigPath(dir).c_str(), &config, &call);
  if (error != ERROR_SUCCESS) {
    LogFailedCall(call, KeptConfigPath(dir), error);
  } else {
    files.push_back(config);
  }
  return files;
}

// The install stands, its entry written with the kept driver in it: the
// check arranged, the state written.
void ArrangeDriverCheck(InstallRun* run, bool restartNeeded) {
  const std::string& dir = run->plan.productDir;
  std::vector<RegistryValue> values;
  if (restartNeeded) {
    LPCSTR call = "";
    const DWORD error = ArrangeBootCheck(run->services.Handle(), dir, &call);
    if (error != ERROR_SUCCESS) {
      LogText("Warning: the driver cannot be checked at the next start of Windows (" +
              std::string(call) + ", error " + std::to_string(error) +
              "); setup.exe /verify checks it on demand");
    } else {
      LogText("The driver is checked once at the next start of Windows: service " +
              std::string(kBootCheckService) + " runs " + BootCheckCommand(dir));
      values.push_back(TextValue(kDriverStateValue, kStatePending));
    }
  } else {
    values.push_back(TextValue(kDriverStateValue, kStateRunning));
  }
  for (const RegistryValue& value : values) {
    const LONG result = SetRegistryValue(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, value);
    if (result != ERROR_SUCCESS) {
      LogText("Warning: the uninstall entry's value " + value.name + " cannot be written (error " +
              std::to_string(result) + ")");
    }
  }
}
