// After a successful registration: the uninstaller and the libraries it needs
// go into the product's own folder under Program Files, and the uninstall
// entry that Programs and Features lists is written. Either both are there
// or, after a failure, neither.
#include "installer/installer.h"
#include "resources/product.h"
#include "support/driver_service.h"
#include "support/fs_redirection.h"
#include "support/path_join.h"
#include "support/program_files.h"
#include "support/registry_entry.h"
#include "support/removal_paths.h"
#include "support/setup_paths.h"
#include "support/string_list.h"
#include "toolkit/log_lines.h"
#include "toolkit/setup_lifecycle.h"
#include "toolkit/unattended.h"
#include "contract/toolkit_api.h"

static const LPCSTR kUninstallerFiles[] = {UNINSTALLER_FILES};
static const int kUninstallerFileCount = sizeof kUninstallerFiles / sizeof kUninstallerFiles[0];

static const char kFilesValue[] = "InstalledFiles";
static const char kFoldersValue[] = "InstalledFolders";

static void AddToList(LPSTR list, int size, LPCSTR item) {
  if (!AddToStringList(list, size, item)) FailWithBufferOverflow();
}

// What the install placed, for the uninstaller, which removes that and no
// more: the driver, the drivers this install or an earlier one added, and
// the uninstaller's own files.
static void ListInstalledFiles(LPCSTR dir, LPSTR files, int size) {
  char driversDir[SETUP_PATH_SIZE + 16], driver[SETUP_PATH_SIZE + 32];
  char earlier[INSTALL_LIST_SIZE] = "";
  if (!DriversDirIn(SetupPaths.SystemDir, driversDir, sizeof driversDir) ||
      !DriverFileIn(SetupPaths.SystemDir, driver, sizeof driver)) {
    FailWithBufferOverflow();
  }
  AddToList(files, size, driver);
  for (LPCSTR p = Changes.newDriverFiles; *p != '\0'; p += lstrlenA(p) + 1) {
    if (!StringListHas(files, p)) AddToList(files, size, p);
  }
  if (ReadRegistryList(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, kFilesValue, earlier, sizeof earlier)) {
    PVOID redirection = TurnOffFileRedirection();
    for (LPCSTR p = earlier; *p != '\0'; p += lstrlenA(p) + 1) {
      if (FileDirectlyIn(p, driversDir) && !StringListHas(files, p) &&
          GetFileAttributesA(p) != INVALID_FILE_ATTRIBUTES) {
        AddToList(files, size, p);
      }
    }
    RestoreFileRedirection(redirection);
  }
  for (int i = 0; i < kUninstallerFileCount; ++i) {
    char path[SETUP_PATH_SIZE + 16];
    AddToList(files, size, ConcatPath(path, dir, kUninstallerFiles[i]));
  }
}

// The installed driver's file version and the bytes the product takes, in KiB.
static void MeasureInstall(LPCSTR dir, LPSTR version, INT versionSize, DWORD* kib) {
  char driver[SETUP_PATH_SIZE + 32];
  if (!DriverFileIn(SetupPaths.SystemDir, driver, sizeof driver)) FailWithBufferOverflow();
  PVOID redirection = TurnOffFileRedirection();
  if (CbGetVersionOfFile(driver, version, versionSize) >= versionSize) version[0] = '\0';
  LONG bytes = LcbGetSizeOfFile(driver);
  RestoreFileRedirection(redirection);
  DWORD total = bytes > 0 ? static_cast<DWORD>(bytes) : 0;
  for (int i = 0; i < kUninstallerFileCount; ++i) {
    char path[SETUP_PATH_SIZE + 16];
    LONG size = LcbGetSizeOfFile(ConcatPath(path, dir, kUninstallerFiles[i]));
    if (size > 0) total += static_cast<DWORD>(size);
  }
  *kib = (total + 1023) / 1024;
}

static LONG WriteUninstallEntry(LPCSTR dir, LPCSTR* failedCall) {
  char version[64] = "", date[16], uninstall[SETUP_PATH_SIZE + 32], quiet[SETUP_PATH_SIZE + 40];
  char files[INSTALL_LIST_SIZE] = "", folders[SETUP_PATH_SIZE + 2] = "";
  ListInstalledFiles(dir, files, sizeof files);
  AddToList(folders, sizeof folders, dir);
  DWORD kib = 0;
  MeasureInstall(dir, version, sizeof version, &kib);
  SYSTEMTIME now;
  GetLocalTime(&now);
  wsprintfA(date, "%04u%02u%02u", now.wYear, now.wMonth, now.wDay);
  wsprintfA(uninstall, "\"%s%s\"", dir, UNINSTALLER_FILE);
  wsprintfA(quiet, "%s /quiet", uninstall);
  const RegistryValue values[] = {
      {"DisplayName", REG_SZ, PRODUCT_NAME, 0},
      {"Publisher", REG_SZ, PRODUCT_PUBLISHER, 0},
      {"InstallDate", REG_SZ, date, 0},
      {"InstallLocation", REG_SZ, dir, 0},
      {"EstimatedSize", REG_DWORD, nullptr, kib},
      {"NoModify", REG_DWORD, nullptr, 1},
      {"NoRepair", REG_DWORD, nullptr, 1},
      {"UninstallString", REG_SZ, uninstall, 0},
      {"QuietUninstallString", REG_SZ, quiet, 0},
      {kFilesValue, REG_MULTI_SZ, files, 0},
      {kFoldersValue, REG_MULTI_SZ, folders, 0},
      {"DisplayVersion", REG_SZ, version, 0},  // last: a driver without a version has none
  };
  const int count = sizeof values / sizeof values[0] - (version[0] == '\0' ? 1 : 0);
  char line[SETUP_PATH_SIZE + 160];
  wsprintfA(line, "Uninstall entry: version %s, %lu KiB, uninstaller %s",
            version[0] ? version : "(none: the driver file has no version)",
            static_cast<unsigned long>(kib), uninstall);
  LogText(line);
  return WriteRegistryEntry(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, values, count, failedCall);
}

void EnsureUninstallerIntact(void) {
  for (LPCSTR file : kUninstallerFiles) {
    if (!DiskFileIntact(file)) FatalSetupError();  // the toolkit has logged why
  }
}

void InstallUninstaller(void) {
  char dir[SETUP_PATH_SIZE], programDir[SETUP_PATH_SIZE];
  if (!ReadProgramDir(programDir)) {
    FailWithMessage("Setup cannot find its own folder to copy the uninstaller from.");
  }
  ReadProgramFilesDir(dir, SetupPaths.SystemDir);
  if (lstrlenA(dir) + lstrlenA(PRODUCT_FOLDER) + 1 >= SETUP_PATH_SIZE) FailWithBufferOverflow();
  lstrcatA(dir, PRODUCT_FOLDER "\\");
  Changes.entryExisted = RegistryEntryExists(HKEY_LOCAL_MACHINE, UNINSTALL_KEY) != FALSE;
  Changes.folderCreated = GetFileAttributesA(dir) == INVALID_FILE_ATTRIBUTES;
  if (!FCreateDir(dir, 0)) FatalSetupError();  // the toolkit has logged why
  for (int i = 0; i < kUninstallerFileCount; ++i) {
    char source[SETUP_PATH_SIZE + 16];
    wsprintfA(source, "%s%s", programDir, kUninstallerFiles[i]);
    char target[SETUP_PATH_SIZE + 16];
    if (!FCopyOneFile(source, ConcatPath(target, dir, kUninstallerFiles[i]), cmoOverwrite,
                      FALSE)) {
      FatalSetupError();  // the undo takes back what was copied
    }
    Changes.uninstallerFilesCopied = i + 1;
  }
  // The toolkit has logged why; the undo takes back what was copied.
  if (!FRegisterEventSource(dir)) FatalSetupError();
  LPCSTR failedCall = "";
  LONG result = WriteUninstallEntry(dir, &failedCall);
  if (result != ERROR_SUCCESS) {
    FRemoveEventSource();
    char what[SETUP_PATH_SIZE + 64];
    wsprintfA(what, "Cannot write the uninstall entry HKLM\\%s (%s)", UNINSTALL_KEY, failedCall);
    LogWin32Failure(what, static_cast<DWORD>(result));
    Changes.uninstallerFilesCopied = kUninstallerFileCount;
    FatalSetupError();
  }
}

// An earlier install's uninstaller has been overwritten by this one's, which
// serves it as well: it stays, so that the earlier install can still be removed.
void UndoUninstaller(void) {
  if (Changes.uninstallerFilesCopied == 0 && !Changes.folderCreated) return;
  char dir[SETUP_PATH_SIZE], line[SETUP_PATH_SIZE + 120];
  ReadProgramFilesDir(dir, SetupPaths.SystemDir);
  lstrcatA(dir, PRODUCT_FOLDER "\\");
  if (Changes.entryExisted) {
    wsprintfA(line, "Kept: the uninstaller in %s, for the driver installed before", dir);
    LogText(line);
    return;
  }
  bool removed = true;
  for (int i = 0; i < Changes.uninstallerFilesCopied; ++i) {
    char path[SETUP_PATH_SIZE + 16];
    if (!YnrcRemoveFile(ConcatPath(path, dir, kUninstallerFiles[i]), 0)) removed = false;
  }
  if (Changes.folderCreated && !FRemoveDir(dir, 0)) removed = false;
  wsprintfA(line, removed ? "Undone: the uninstaller removed from %s"
                          : "Left as it is: part of the uninstaller in %s (see above)", dir);
  LogText(line);
  Changes.uninstallerFilesCopied = 0;
  Changes.folderCreated = false;
}
