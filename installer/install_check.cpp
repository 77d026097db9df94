// Check first, then change: every file the install takes from the disk is
// looked for before the copy starts, and whatever is missing is named in one
// message. The copy's targets that are this product's are noted on the way:
// those that do not exist yet, and those an earlier install recorded as the
// file that is still there; they are the files the uninstaller may remove.
#include <map>

#include "installer/installer.h"
#include "resources/product.h"
#include "support/driver_service.h"
#include "support/file_digest.h"
#include "support/fs_redirection.h"
#include "support/install_record.h"
#include "support/path_join.h"
#include "support/setup_paths.h"
#include "toolkit/log_lines.h"
#include "toolkit/setup_lifecycle.h"
#include "contract/toolkit_api.h"
#include "platform/dialogs/box_text_ids.h"

static const char kCaption[] = SETUP_TITLE;

static bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Each missing file is an error record of its own; the first is the cause the
// error dialog names, with the advice to insert the disk that holds it.
static void NoteMissing(std::vector<std::string>* missing, const std::string& path) {
  LogFailedCall("read", path, ERROR_FILE_NOT_FOUND);
  missing->push_back(path);
}

// Is a target that exists already the product's? Only when an earlier
// install recorded it: with its size and SHA-256 still those of the file
// (an earlier setup's bare path counts, as this disk installs that very file).
static bool RecordedAsOurs(const std::string& target,
                           const std::map<std::string, PlacedFile>& earlier) {
  const auto found = earlier.find(PathKey(target));
  if (found == earlier.end()) return false;
  if (!found->second.hashed) return true;
  PlacedFile now;
  LPCSTR call = "";
  return DigestFile(target.c_str(), &now, &call) == ERROR_SUCCESS && SameContent(now, found->second);
}

// The copy list's files: each source on the disk, each target noted when ours.
static void CheckCopyList(InstallRun* run, std::vector<std::string>* missing) {
  std::map<std::string, PlacedFile> earlier;
  for (const PlacedFile& file : EarlierRecord()) earlier.emplace(PathKey(file.path), file);
  for (const PlannedFile& file : run->plan.driverFiles) {
    // A file that is not vital may be missing: the copy skips it and says so.
    if (file.vital && !Exists(file.source)) NoteMissing(missing, file.source);
    // Recorded as the file system spells the drivers directory.
    const std::string target = StoredSpelling(file.target, SetupPaths.SystemDir);
    PVOID redirection = TurnOffFileRedirection();
    const bool ours = !Exists(target) || RecordedAsOurs(target, earlier);
    RestoreFileRedirection(redirection);
    if (ours) run->changes.ownDriverFiles.push_back(target);
  }
}

void CheckDiskFiles(InstallRun* run) {
  std::vector<std::string> missing;
  CheckCopyList(run, &missing);
  for (const PlannedFile& file : run->plan.uninstallerFiles) {
    if (!Exists(file.source)) NoteMissing(&missing, file.source);
  }
  if (missing.empty()) return;
  std::string list;
  for (const std::string& path : missing) list += "\n    " + path;
  const std::string count = std::to_string(missing.size());
  const std::string text =
      "The setup disk lacks " + count + " file" + (missing.size() == 1 ? "" : "s") +
      " that the installation needs:\n" + list +
      "\n\nSetup has changed nothing on this computer. Start setup from a complete "
      "installation disk.";
  StfLanguageBox(missing.size() == 1 ? IDS_STF_DISK_LACKS_ONE : IDS_STF_DISK_LACKS,
                 STF_BOX_CAPTION_ID, text.c_str(), kCaption, count.c_str(), list.c_str(), "",
                 MB_ICONHAND);
  EndAfterRefusal();
}
