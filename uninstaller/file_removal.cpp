// Removing the driver file, the uninstall entry and what the install recorded
// in it: its files, then its folder once empty. A place the entry names that
// is not the product's own (a root, a Windows directory, another product's
// folder, a link out of the folder) is left alone, with a warning.
#include "resources/product.h"
#include "support/driver_service.h"
#include "support/fatal_path.h"
#include "support/fs_redirection.h"
#include "support/path_join.h"
#include "support/program_files.h"
#include "support/registry_entry.h"
#include "support/removal_paths.h"
#include "support/setup_paths.h"
#include "support/string_list.h"
#include "toolkit/log_lines.h"
#include "toolkit/setup_lifecycle.h"
#include "contract/toolkit_api.h"
#include "uninstaller/uninstaller.h"

static const LPCSTR kUninstallerFiles[] = {UNINSTALLER_FILES};
static const int kListSize = 16384;

// What the entry recorded, read before the entry goes.
static char location[SETUP_PATH_SIZE];
static char recordedFiles[kListSize];
static char recordedFolders[kListSize];
static char acceptedFolders[kListSize];

void RemoveDriverFile(bool* pending) {
  char driver[SETUP_PATH_SIZE + 32];
  if (!DriverFileIn(SetupPaths.SystemDir, driver, sizeof driver)) FailWithBufferOverflow();
  const BOOL queuedBefore = !FRestartListEmpty();
  PVOID redirection = TurnOffFileRedirection();
  // A loaded driver cannot be deleted: Windows deletes it at the next boot.
  INT removed = YnrcRemoveFile(driver, cmoRestart);
  RestoreFileRedirection(redirection);
  if (!removed) FatalSetupError();  // the toolkit has logged the call and its code
  char line[SETUP_PATH_SIZE + 64];
  if (!queuedBefore && !FRestartListEmpty()) {
    *pending = true;
    wsprintfA(line, "Driver file %s is in use: Windows deletes it when it restarts", driver);
  } else {
    wsprintfA(line, "Driver file %s removed", driver);
  }
  LogText(line);
}

static void Warn(LPCSTR format, LPCSTR path, LPCSTR why) {
  char line[SETUP_PATH_SIZE * 2 + 200];
  wsprintfA(line, format, path, why);
  LogText(line);
}

// An entry written before the install recorded its files: the uninstaller
// and its libraries in the folder InstallLocation names.
static void ReadRecord(void) {
  location[0] = recordedFiles[0] = recordedFolders[0] = acceptedFolders[0] = '\0';
  ReadRegistryText(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "InstallLocation", location,
                   sizeof location);
  if (ReadRegistryList(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "InstalledFolders", recordedFolders,
                       sizeof recordedFolders)) {
    if (!ReadRegistryList(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "InstalledFiles", recordedFiles,
                          sizeof recordedFiles)) {
      recordedFiles[0] = recordedFiles[1] = '\0';
    }
    return;
  }
  if (location[0] == '\0') return;
  char dir[SETUP_PATH_SIZE + 1];
  lstrcpyA(dir, location);
  AppendBackslash(dir);
  AddToStringList(recordedFolders, kListSize, location);
  for (LPCSTR file : kUninstallerFiles) {
    char path[SETUP_PATH_SIZE + 16];
    AddToStringList(recordedFiles, kListSize, ConcatPath(path, dir, file));
  }
}

// Keeps the recorded folders that are the product's own; warns of the rest.
static void JudgeFolders(void) {
  char windowsDir[SETUP_PATH_SIZE] = "", programFiles[SETUP_PATH_SIZE];
  GetWindowsDirectoryA(windowsDir, SETUP_PATH_SIZE - 1);
  ReadProgramFilesDir(programFiles, SetupPaths.SystemDir);
  const ProtectedDirs dirs = {windowsDir, SetupPaths.SystemDir, programFiles};
  for (LPCSTR folder = recordedFolders; *folder != '\0'; folder += lstrlenA(folder) + 1) {
    FolderVerdict verdict = JudgeProductFolder(folder, PRODUCT_FOLDER, dirs);
    char trimmed[SETUP_PATH_SIZE] = "";
    if (lstrlenA(folder) < SETUP_PATH_SIZE) lstrcpyA(trimmed, folder);
    StripTrailingBackslash(trimmed);
    const DWORD attributes = verdict == kFolderOurs ? GetFileAttributesA(trimmed) : 0;
    if (verdict == kFolderOurs && attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
      Warn("Warning: %s is a link or junction to another place; the uninstaller leaves it alone",
           folder, "");
    } else if (verdict != kFolderOurs) {
      Warn("Warning: the uninstall entry names %s, which is %s; the uninstaller leaves it alone",
           folder, FolderVerdictText(verdict));
    } else {
      AddToStringList(acceptedFolders, kListSize, folder);
    }
  }
  bool named = location[0] == '\0';
  for (LPCSTR folder = acceptedFolders; *folder != '\0'; folder += lstrlenA(folder) + 1) {
    if (SameDirectory(folder, location)) named = true;
  }
  if (!named && !StringListHas(recordedFolders, location)) {
    Warn("Warning: the uninstall entry's InstallLocation names %s, which is not the folder "
         "setup made%s; the uninstaller leaves it alone", location, "");
  }
}

static bool InFolderOf(LPCSTR folders, LPCSTR file) {
  for (LPCSTR folder = folders; *folder != '\0'; folder += lstrlenA(folder) + 1) {
    if (FileDirectlyIn(file, folder)) return true;
  }
  return false;
}

static void RemoveRecordedFiles(void) {
  char drivers[SETUP_PATH_SIZE + 16], driverPath[SETUP_PATH_SIZE + 32];
  if (!DriversDirIn(SetupPaths.SystemDir, drivers, sizeof drivers) ||
      !DriverFileIn(SetupPaths.SystemDir, driverPath, sizeof driverPath)) {
    FailWithBufferOverflow();
  }
  for (LPCSTR file = recordedFiles; *file != '\0'; file += lstrlenA(file) + 1) {
    if (lstrcmpiA(file, driverPath) == 0) continue;  // removed with the service
    const bool driverFile = FileDirectlyIn(file, drivers);
    if (!driverFile && !InFolderOf(acceptedFolders, file)) {
      if (InFolderOf(recordedFolders, file)) continue;  // its folder is refused, and named
      Warn("Warning: the uninstall entry names the file %s, which is not in the product's "
           "folder%s; the uninstaller leaves it alone", file, "");
      continue;
    }
    // This program and its libraries are in use until it ends.
    PVOID redirection = driverFile ? TurnOffFileRedirection() : nullptr;
    INT removed = YnrcRemoveFile(file, cmoRestart);
    if (driverFile) RestoreFileRedirection(redirection);
    if (!removed) FatalSetupError();
  }
}

// Removed now, or at the next boot while a file of ours in it is in use; a
// folder that holds files the install did not put there stays.
static void RemoveFolder(LPCSTR dir) {
  char folder[SETUP_PATH_SIZE];
  lstrcpyA(folder, dir);
  StripTrailingBackslash(folder);
  if (RemoveDirectoryA(folder) || GetLastError() == ERROR_FILE_NOT_FOUND) {
    char line[SETUP_PATH_SIZE + 32];
    LogText(ConcatPath(line, "Removed the folder ", folder));
    return;
  }
  bool oursInUse = false;
  for (LPCSTR file = recordedFiles; *file != '\0'; file += lstrlenA(file) + 1) {
    if (FileDirectlyIn(file, folder) && GetFileAttributesA(file) != INVALID_FILE_ATTRIBUTES) {
      oursInUse = true;
    }
  }
  if (!oursInUse) {
    Warn("Kept the folder %s: it holds files that setup did not install%s", folder, "");
    return;
  }
  if (!MoveFileExA(folder, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
    LogFailedCall("MoveFileExA (delete at boot)", folder, GetLastError());
    FatalSetupError();
  }
  char line[SETUP_PATH_SIZE + 64];
  LogText(ConcatPath(line, "The folder is removed when Windows restarts, once empty: ", folder));
}

void RemoveUninstallRecord(void) {
  ReadRecord();
  JudgeFolders();
  LONG result = RemoveRegistryEntry(HKEY_LOCAL_MACHINE, UNINSTALL_KEY);
  if (result != ERROR_SUCCESS) {
    LogFailedCall("RegDeleteKeyA", "HKLM\\" UNINSTALL_KEY, static_cast<DWORD>(result));
    FatalSetupError();
  }
  LogText("Uninstall entry removed");
  FRemoveEventSource();  // a failure is logged; the driver is gone all the same
  RemoveRecordedFiles();
  for (LPCSTR folder = acceptedFolders; *folder != '\0'; folder += lstrlenA(folder) + 1) {
    RemoveFolder(folder);
  }
}
