// The uninstall entry as the uninstaller reads it: what it may remove (the
// rules are removal_plan.h's), the steps an earlier removal recorded, and the
// entry's own removal, last of all.
#include "resources/product.h"
#include "support/driver_service.h"
#include "support/install_record.h"
#include "support/path_join.h"
#include "support/program_files.h"
#include "support/registry_entry.h"
#include "support/setup_paths.h"
#include "toolkit/log_lines.h"
#include "toolkit/setup_lifecycle.h"
#include "uninstaller/uninstaller.h"

static const char kProgressValue[] = "RemovalProgress";

static bool ReadValue(LPCSTR name, DWORD type, std::string* data) {
  DWORD found = 0;
  if (ReadRegistryValue(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, name, &found, data) &&
      (found == type || (type == REG_SZ && found == REG_EXPAND_SZ))) {
    return true;
  }
  data->clear();
  return false;
}

static std::string WindowsDir(void) {
  char dir[MAX_PATH + 1] = "";
  const UINT length = GetWindowsDirectoryA(dir, sizeof dir);
  return length > 0 && length < sizeof dir ? dir : "";
}

static RemovalRules Rules(void) {
  RemovalRules rules;
  rules.protectedDirs = {WindowsDir(), SetupPaths.SystemDir, ProgramFilesDir(SetupPaths.SystemDir)};
  rules.driversDir = DriversDirOf(SetupPaths.SystemDir);
  rules.driverFile = DriverFileOf(SetupPaths.SystemDir);
  rules.productFolderName = PRODUCT_FOLDER;
  rules.uninstallerFiles = {UNINSTALLER_FILES};
  rules.isLead = IsSystemLeadByte;
  return rules;
}

void ReadUninstallEntry(UninstallRun* run) {
  EntryRecord entry;
  entry.hasFiles = ReadValue(kInstalledFilesValue, REG_MULTI_SZ, &entry.files);
  entry.hasFolders = ReadValue(kInstalledFoldersValue, REG_MULTI_SZ, &entry.folders);
  ReadValue("InstallLocation", REG_SZ, &entry.location);
  const RemovalRules rules = Rules();
  run->plan = PlanFolders(entry, rules);
  for (const std::string& folder : std::vector<std::string>(run->plan.folders)) {
    std::string trimmed = folder;
    if (EndsInBackslash(trimmed.c_str())) trimmed.pop_back();
    const DWORD attributes = GetFileAttributesA(trimmed.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
      RefuseFolder(&run->plan, folder, "a link or junction to another place");
    }
  }
  PlanFiles(entry, rules, &run->plan);
  for (const std::string& warning : run->plan.warnings) LogText(warning);
  std::string earlier;
  ReadValue(kProgressValue, REG_SZ, &earlier);
  if (!RegistryText(earlier).empty()) {
    LogText("An earlier removal stopped before it had finished; it had removed: " +
            RegistryText(earlier) + ". This removal finishes it.");
  }
}

void MarkRemovalStep(UninstallRun* run, const char* step) {
  run->done += (run->done.empty() ? "" : ", ") + std::string(step);
  // Without an entry (a service left by hand) there is nothing to mark.
  if (RegistryEntryExists(HKEY_LOCAL_MACHINE, UNINSTALL_KEY)) {
    SetRegistryValue(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, TextValue(kProgressValue, run->done));
  }
}

void RemoveUninstallEntry(void) {
  LONG result = RemoveRegistryEntry(HKEY_LOCAL_MACHINE, UNINSTALL_KEY);
  if (result != ERROR_SUCCESS) {
    LogFailedCall("RegDeleteKeyA", "HKLM\\" UNINSTALL_KEY, static_cast<DWORD>(result));
    FatalSetupError();
  }
  LogText("Uninstall entry removed");
}
