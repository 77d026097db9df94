// Removing the driver file and what the uninstall entry records: each file
// that is still the file setup placed, then each folder once empty. A file
// that has changed since, or a place that is not the product's own, is left
// alone with a warning that names it.
#include "resources/product.h"
#include "support/driver_service.h"
#include "support/file_digest.h"
#include "support/fs_redirection.h"
#include "support/path_join.h"
#include "support/removal_paths.h"
#include "support/setup_paths.h"
#include "toolkit/log_lines.h"
#include "toolkit/setup_lifecycle.h"
#include "contract/toolkit_api.h"
#include "uninstaller/uninstaller.h"

static bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Deleted now, or at the next boot while Windows holds it: then true.
static bool RemoveFile(const std::string& path) {
  if (!YnrcRemoveFile(path.c_str(), cmoRestart)) FatalSetupError();  // the toolkit has logged why
  if (Exists(path)) {
    LogText("In use: " + path + "; Windows deletes it when it restarts");
    return true;
  }
  LogText("Removed: " + path);
  return false;
}

void RemoveDriverFile(bool* pending) {
  const std::string driver = StoredDriversDir(SetupPaths.SystemDir) + DRIVER_FILE_NAME;
  PVOID redirection = TurnOffFileRedirection();
  if (Exists(driver)) {
    if (RemoveFile(driver)) *pending = true;
  } else {
    LogText("Driver file " + driver + " is not there (removed before)");
  }
  RestoreFileRedirection(redirection);
}

// A file goes when it is still the one setup placed; the uninstaller's own
// go by their names.
static void RemoveRecordedFile(const FileToRemove& recorded, UninstallRun* run) {
  const std::string& path = recorded.file.path;
  if (!Exists(path)) {
    LogText("Not there: " + path + " (removed before)");
    return;
  }
  if (recorded.removal == Removal::kIfUnchanged) {
    PlacedFile now;
    LPCSTR call = "";
    if (DWORD error = DigestFile(path.c_str(), &now, &call)) {
      LogText("Warning: " + path + " cannot be read (" + call + ", error " +
              std::to_string(error) + "); the uninstaller leaves it alone");
      return;
    }
    if (!SameContent(now, recorded.file)) {
      LogText("Warning: " + path + " is not the file setup installed (" +
              std::to_string(now.size) + " bytes now, " + std::to_string(recorded.file.size) +
              " then, another SHA-256); the uninstaller leaves it alone");
      return;
    }
  }
  if (RemoveFile(path)) {
    run->pending = true;
    run->waiting.push_back(path);
  }
}

void RemoveRecordedFiles(UninstallRun* run) {
  const std::string drivers = DriversDirOf(SetupPaths.SystemDir);
  for (const FileToRemove& recorded : run->plan.files) {
    const bool driverFile = FileDirectlyIn(recorded.file.path, drivers, IsSystemLeadByte);
    PVOID redirection = driverFile ? TurnOffFileRedirection() : nullptr;
    RemoveRecordedFile(recorded, run);
    if (driverFile) RestoreFileRedirection(redirection);
  }
}

// Removed now, or at the next boot while a file of ours in it is in use; a
// folder that holds other files stays.
static void RemoveFolder(const std::string& dir, UninstallRun* run) {
  std::string folder = dir;
  if (EndsInBackslash(folder.c_str())) folder.pop_back();
  if (RemoveDirectoryA(folder.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND) {
    LogText("Removed the folder " + folder);
    return;
  }
  bool oursInUse = false;
  for (const std::string& file : run->waiting) {
    if (FileDirectlyIn(file, folder, IsSystemLeadByte)) oursInUse = true;
  }
  if (!oursInUse) {
    LogText("Kept the folder " + folder + ": it holds files that setup did not install");
    return;
  }
  if (!MoveFileExA(folder.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
    LogFailedCall("MoveFileExA (delete at boot)", folder, GetLastError());
    FatalSetupError();
  }
  run->pending = true;
  LogText("The folder is removed when Windows restarts, once empty: " + folder);
}

void RemoveRecordedFolders(UninstallRun* run) {
  for (const std::string& folder : run->plan.folders) RemoveFolder(folder, run);
}
