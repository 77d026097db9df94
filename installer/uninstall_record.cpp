// After a successful registration: the uninstaller and the libraries it needs
// go into the product's own folder under Program Files, and the uninstall
// entry that Programs and Features lists is written. Either both are there
// or, after a failure, neither.
#include "installer/installer.h"
#include "resources/product.h"
#include "support/fs_redirection.h"
#include "support/path_join.h"
#include "support/registry_entry.h"
#include "support/setup_paths.h"
#include "toolkit/log_lines.h"
#include "toolkit/setup_lifecycle.h"
#include "contract/toolkit_api.h"

static const LPCSTR kUninstallerFiles[] = {UNINSTALLER_FILES};
static const int kUninstallerFileCount = sizeof kUninstallerFiles / sizeof kUninstallerFiles[0];

// Program Files of 32-bit programs, ending in a backslash: the system's own
// record of it (Windows NT 4.0 has it too), else the folder on the Windows drive.
static void ReadProgramFilesDir(LPSTR dir) {
  if (!ReadRegistryText(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion",
                        "ProgramFilesDir", dir, SETUP_PATH_SIZE - 1) ||
      dir[0] == '\0') {
    wsprintfA(dir, "%.2s\\Program Files", SetupPaths.SystemDir);
  }
  AppendBackslash(dir);
}

static void RemoveCopied(LPCSTR dir, int count) {
  for (int i = 0; i < count; ++i) YnrcRemoveFile(ConcatPath(dir, kUninstallerFiles[i]), 0);
  FRemoveDir(dir, 0);
}

// The installed driver's file version and the bytes the product takes, in KiB.
static void MeasureInstall(LPCSTR dir, LPSTR version, INT versionSize, DWORD* kib) {
  LPSTR driver = ConcatPath3(SetupPaths.SystemDir, "DRIVERS\\", DRIVER_FILE_NAME);
  PVOID redirection = TurnOffFileRedirection();
  if (CbGetVersionOfFile(driver, version, versionSize) >= versionSize) version[0] = '\0';
  LONG bytes = LcbGetSizeOfFile(driver);
  RestoreFileRedirection(redirection);
  DWORD total = bytes > 0 ? static_cast<DWORD>(bytes) : 0;
  for (int i = 0; i < kUninstallerFileCount; ++i) {
    LONG size = LcbGetSizeOfFile(ConcatPath(dir, kUninstallerFiles[i]));
    if (size > 0) total += static_cast<DWORD>(size);
  }
  *kib = (total + 1023) / 1024;
}

static LONG WriteUninstallEntry(LPCSTR dir, LPCSTR* failedCall) {
  char version[64] = "", date[16], uninstall[SETUP_PATH_SIZE + 32], quiet[SETUP_PATH_SIZE + 40];
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

void InstallUninstaller(void) {
  char dir[SETUP_PATH_SIZE], programDir[SETUP_PATH_SIZE];
  // They come from beside setup.exe, which loaded the same libraries from there.
  if (!ReadProgramDir(programDir)) {
    FailWithMessage("Setup cannot find its own folder to copy the uninstaller from.");
  }
  ReadProgramFilesDir(dir);
  if (lstrlenA(dir) + lstrlenA(PRODUCT_FOLDER) + 1 >= SETUP_PATH_SIZE) FailWithBufferOverflow();
  lstrcatA(dir, PRODUCT_FOLDER "\\");
  if (!FCreateDir(dir, 0)) FatalSetupError();  // the toolkit has logged why
  for (int i = 0; i < kUninstallerFileCount; ++i) {
    char source[SETUP_PATH_SIZE + 16];
    wsprintfA(source, "%s%s", programDir, kUninstallerFiles[i]);
    if (!FCopyOneFile(source, ConcatPath(dir, kUninstallerFiles[i]), cmoOverwrite, FALSE)) {
      RemoveCopied(dir, i);
      FatalSetupError();
    }
  }
  if (!FRegisterEventSource(dir)) {  // the toolkit has logged why
    RemoveCopied(dir, kUninstallerFileCount);
    FatalSetupError();
  }
  LPCSTR failedCall = "";
  LONG result = WriteUninstallEntry(dir, &failedCall);
  if (result != ERROR_SUCCESS) {
    FRemoveEventSource();
    char what[SETUP_PATH_SIZE + 64];
    wsprintfA(what, "Cannot write the uninstall entry HKLM\\%s (%s)", UNINSTALL_KEY, failedCall);
    LogWin32Failure(what, static_cast<DWORD>(result));
    RemoveCopied(dir, kUninstallerFileCount);
    FatalSetupError();
  }
}
