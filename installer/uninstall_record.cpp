// After a successful registration: the uninstaller and the libraries it needs
// go into the product's own folder under Program Files, the event source is
// registered and the uninstall entry that Programs and Features lists is
// written, with the size and SHA-256 of every file the install placed.
// Either all is there or, after a failure, the machine is as it was: an
// earlier install's entry and event source as they were.
#include <set>

#include "installer/installer.h"
#include "resources/product.h"
#include "support/driver_service.h"
#include "support/file_digest.h"
#include "support/fs_redirection.h"
#include "support/path_join.h"
#include "support/previous_driver.h"
#include "support/program_files.h"
#include "support/registry_entry.h"
#include "support/removal_paths.h"
#include "support/setup_paths.h"
#include "toolkit/log_lines.h"
#include "toolkit/setup_lifecycle.h"
#include "toolkit/unattended.h"
#include "contract/toolkit_api.h"

static const char kEventSourceKey[] =
    "SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\" PRODUCT_NAME;

std::vector<PlacedFile> EarlierRecord(void) {
  DWORD type = 0;
  std::string bytes;
  if (!ReadRegistryValue(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, kInstalledFilesValue, &type, &bytes) ||
      type != REG_MULTI_SZ) {
    return {};
  }
  return RecordedFiles(bytes);
}

// The files recorded so far, once each.
struct PlacedSet {
  std::vector<PlacedFile> files;
  std::set<std::string> keys;
  bool Has(const std::string& path) const { return keys.count(PathKey(path)) != 0; }
  void Add(const PlacedFile& file) {
    if (keys.insert(PathKey(file.path)).second) files.push_back(file);
  }
};

// A file this run placed, as it is now; a file that cannot be read ends the
// install, as its record would be a guess.
static PlacedFile Placed(const std::string& path) {
  PlacedFile file;
  LPCSTR call = "";
  const DWORD error = DigestFile(path.c_str(), &file, &call);
  if (error != ERROR_SUCCESS) {
    LogFailedCall(call, path, error);
    FatalSetupError();
  }
  return file;
}

// The product's files in the drivers directory: the driver, the copy's
// targets that are ours and in place, and what an earlier install recorded
// there that is still the file it recorded.
static void ListDriverFiles(const InstallChangeRecord& changes,
                            const std::vector<PlacedFile>& earlierRecord, PlacedSet* record) {
  PVOID redirection = TurnOffFileRedirection();
  const std::string drivers = StoredDriversDir(SetupPaths.SystemDir);
  record->Add(Placed(drivers + DRIVER_FILE_NAME));
  for (const std::string& target : changes.ownDriverFiles) {
    if (!record->Has(target) && GetFileAttributesA(target.c_str()) != INVALID_FILE_ATTRIBUTES) {
      record->Add(Placed(target));
    }
  }
  for (const PlacedFile& earlier : earlierRecord) {
    if (!earlier.hashed || record->Has(earlier.path) ||
        !FileDirectlyIn(earlier.path, drivers, IsSystemLeadByte)) {
      continue;
    }
    PlacedFile now;
    LPCSTR call = "";
    if (DigestFile(earlier.path.c_str(), &now, &call) == ERROR_SUCCESS && SameContent(now, earlier)) {
      record->Add(earlier);
    }
  }
  RestoreFileRedirection(redirection);
}

static std::string Date(void) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char date[16];
  wsprintfA(date, "%04u%02u%02u", now.wYear, now.wMonth, now.wDay);
  return date;
}

// The driver's version, for DisplayVersion: the earlier entry's where that
// entry records the very file now in place (its size and SHA-256), as its
// version resource would say the same; else read from the file, which loads
// the detection library. "" for a driver without a version.
static std::string DriverVersion(const PlacedFile& driver,
                                 const std::vector<PlacedFile>& earlierRecord) {
  for (const PlacedFile& earlier : earlierRecord) {
    if (!earlier.hashed || PathKey(earlier.path) != PathKey(driver.path)) continue;
    DWORD type = 0;
    std::string text;
    if (SameContent(earlier, driver) &&
        ReadRegistryValue(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, kDisplayVersionValue, &type, &text) &&
        type == REG_SZ) {
      return text.c_str();  // up to its terminating zero
    }
    break;
  }
  char version[64] = "";
  PVOID redirection = TurnOffFileRedirection();
  if (CbGetVersionOfFile(driver.path.c_str(), version, sizeof version) >=
      static_cast<INT>(sizeof version)) {
    version[0] = '\0';
  }
  RestoreFileRedirection(redirection);
  return version;
}

static LONG WriteUninstallEntry(const InstallRun& run, std::string* failedCall) {
  const std::string& dir = run.plan.productDir;
  const std::vector<PlacedFile> earlierRecord = EarlierRecord();
  PlacedSet record;
  ListDriverFiles(run.changes, earlierRecord, &record);
  for (const PlacedFile& file : run.changes.uninstallerFiles) record.Add(file);
  for (const PlacedFile& file : KeptDriverFiles(run.kept, dir)) record.Add(file);
  const std::vector<PlacedFile>& files = record.files;
  std::vector<std::string> items;
  unsigned long long bytes = 0;
  for (const PlacedFile& file : files) {
    items.push_back(PlacedFileItem(file));
    bytes += file.size;
  }
  const DWORD kib = static_cast<DWORD>((bytes + 1023) / 1024);
  const std::string version = DriverVersion(files.front(), earlierRecord);
  const std::string uninstall = "\"" + dir + UNINSTALLER_FILE + "\"";
  std::vector<RegistryValue> values = {
      TextValue("DisplayName", PRODUCT_NAME),
      TextValue("Publisher", PRODUCT_PUBLISHER),
      TextValue("InstallDate", Date()),
      TextValue("InstallLocation", dir),
      NumberValue("EstimatedSize", kib),
      NumberValue("NoModify", 1),
      NumberValue("NoRepair", 1),
      TextValue("UninstallString", uninstall),
      TextValue("QuietUninstallString", uninstall + " /quiet"),
      ListValue(kInstalledFilesValue, items),
      ListValue(kInstalledFoldersValue, {dir}),
  };
  if (run.kept.kept) values.push_back(TextValue(kPreviousDriverValue, PlacedFileItem(run.kept.file)));
  // A driver without a version has none.
  if (!version.empty()) values.push_back(TextValue(kDisplayVersionValue, version));
  LogText("Uninstall entry: version " +
          (version.empty() ? std::string("(none: the driver file has no version)") : version) + ", " +
          std::to_string(kib) + " KiB, " + std::to_string(files.size()) +
          " files recorded with their size and SHA-256, uninstaller " + uninstall);
  return WriteRegistryEntry(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, values, failedCall);
}

void EnsureUninstallerIntact(const InstallPlan& plan) {
  for (const PlannedFile& file : plan.uninstallerFiles) {
    // the toolkit has logged why
    if (!DiskFileIntact(FileNameOfPath(file.source.c_str()))) FatalSetupError();
  }
}

// The event source's key is kept as it was, so that a failure can put it back.
static void RegisterProductEventSource(InstallChangeRecord* changes, const std::string& dir) {
  if (SaveRegistryKey(HKEY_LOCAL_MACHINE, kEventSourceKey, &changes->eventSourceBefore) !=
      ERROR_SUCCESS) {
    changes->eventSourceBefore = RegistryKeyState();
    changes->eventSourceBefore.existed = true;  // unknown: never removed by an undo
  }
  changes->eventSourceRegistered = true;  // a failed registration may have written part of it
  if (!FRegisterEventSource(dir.c_str())) FatalSetupError();  // the toolkit has logged why
}

// Is the file in the product's folder already the one the disk would put
// there? Its size and SHA-256 against the disk's manifest where it lists the
// file (nothing of the disk is read then), else against the disk's file.
// *there: the file in the folder, as read.
static bool AlreadyInPlace(const PlannedFile& file, PlacedFile* there) {
  LPCSTR call = "";
  if (GetFileAttributesA(file.target.c_str()) == INVALID_FILE_ATTRIBUTES ||
      DigestFile(file.target.c_str(), there, &call) != ERROR_SUCCESS) {
    return false;
  }
  PlacedFile disk;
  if (!DiskFileListed(FileNameOfPath(file.source.c_str()), &disk) &&
      DigestFile(file.source.c_str(), &disk, &call) != ERROR_SUCCESS) {
    return false;
  }
  return SameContent(*there, disk);
}

void InstallUninstaller(InstallRun* run) {
  InstallChangeRecord& changes = run->changes;
  const std::string& dir = run->plan.productDir;
  changes.entryExisted = RegistryEntryExists(HKEY_LOCAL_MACHINE, UNINSTALL_KEY) != FALSE;
  changes.folderCreated = GetFileAttributesA(dir.c_str()) == INVALID_FILE_ATTRIBUTES;
  if (!FCreateDir(dir.c_str(), 0)) FatalSetupError();  // the toolkit has logged why
  for (const PlannedFile& file : run->plan.uninstallerFiles) {
    PlacedFile there;
    if (!changes.folderCreated && AlreadyInPlace(file, &there)) {
      LogText("Unchanged: " + file.target + " has the same size and SHA-256 as " + file.source +
              "; not copied");
      changes.uninstallerFiles.push_back(there);
      continue;
    }
    if (!FCopyOneFile(file.source.c_str(), file.target.c_str(), cmoOverwrite, FALSE)) {
      FatalSetupError();  // the undo takes back what was copied
    }
    changes.uninstallerPlaced.push_back(file.target);
    changes.uninstallerFiles.push_back(Placed(file.target));
  }
  RegisterProductEventSource(&changes, dir);
  std::string failedCall;
  LONG result = WriteUninstallEntry(*run, &failedCall);
  if (result != ERROR_SUCCESS) {
    LogWin32Failure("Cannot write the uninstall entry HKLM\\" UNINSTALL_KEY " (" + failedCall + ")",
                    static_cast<DWORD>(result));
    FatalSetupError();  // the undo takes back the rest; the entry is as it was
  }
}

// Puts the event source back as this run found it.
static void UndoEventSource(InstallChangeRecord* changes) {
  if (!changes->eventSourceRegistered) return;
  changes->eventSourceRegistered = false;
  const bool undone = changes->eventSourceBefore.existed
                          ? RestoreRegistryKey(HKEY_LOCAL_MACHINE, kEventSourceKey,
                                               changes->eventSourceBefore) == ERROR_SUCCESS
                          : FRemoveEventSource() != FALSE;
  LogText(undone ? "Undone: the event source is as it was"
                 : "Left as it is: the event source (see above)");
}

// An earlier install's uninstaller has been overwritten by this one's, which
// serves it as well: it stays, so that the earlier install can still be removed.
void UndoUninstaller(InstallRun* run) {
  InstallChangeRecord& changes = run->changes;
  UndoEventSource(&changes);
  if (changes.uninstallerPlaced.empty() && !changes.folderCreated) return;
  const std::string& dir = run->plan.productDir;
  if (changes.entryExisted) {
    LogText("Kept: the uninstaller in " + dir + ", for the driver installed before");
    return;
  }
  bool removed = true;
  for (const std::string& target : changes.uninstallerPlaced) {
    if (!YnrcRemoveFile(target.c_str(), 0)) removed = false;
  }
  if (changes.folderCreated && !FRemoveDir(dir.c_str(), 0)) removed = false;
  LogText((removed ? "Undone: the uninstaller removed from "
                   : "Left as it is: part of the uninstaller in ") +
          dir + (removed ? "" : " (see above)"));
  changes.uninstallerPlaced.clear();
  changes.folderCreated = false;
}
