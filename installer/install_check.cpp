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
#include "toolkit/wrappers.h"
#include "contract/toolkit_api.h"
#include "platform/setup-toolkit/box_text_ids.h"

InstallChangeRecord Changes;

static const char kCaption[] = "Merlox IDE CD-ROM Drive Setup";
static const char kSection[] = "System Files";
static const LPCSTR kUninstallerFiles[] = {UNINSTALLER_FILES};

static bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Each missing file is an error record of its own; the first is the cause the
// error dialog names, with the advice to insert the disk that holds it.
static void NoteMissing(std::vector<std::string>* missing, const std::string& path) {
  LogFailedCall("read", path, ERROR_FILE_NOT_FOUND);
  missing->push_back(path);
}

// Field 15 bit 0, the vital flag; an empty field means vital.
static bool IsVital(UINT line) {
  std::string flags;
  if (CountListItems("STF_FILE_FLAGS") >= line) {
    flags = ListItemText("STF_FILE_FLAGS", static_cast<INT>(line));
  }
  std::size_t at = flags.find_first_not_of(' ');
  if (at == std::string::npos || flags[at] < '0' || flags[at] > '9') return true;
  unsigned value = 0;
  for (; at < flags.size() && flags[at] >= '0' && flags[at] <= '9'; ++at) {
    value = (value * 10 + static_cast<unsigned>(flags[at] - '0')) & 0xFFFF;
  }
  return (value & 1) != 0;
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
static void CheckCopyList(std::vector<std::string>* missing) {
  // Without the section there is no list: building the copy list names that fault.
  if (!FMakeListInfSectionField("STF_DISK_FILES", kSection, 1)) return;
  CollectInstallNames("STF_INSTALL_NAMES", kSection);
  CollectFileFlags("STF_FILE_FLAGS", kSection);
  std::map<std::string, PlacedFile> earlier;
  for (const PlacedFile& file : EarlierRecord()) earlier.emplace(PathKey(file.path), file);
  const std::string drivers = StoredDriversDir(SetupPaths.SystemDir);
  const std::string sourceDir = std::string(SetupPaths.SourceDir) +
                                (EndsInBackslash(SetupPaths.SourceDir) ? "" : "\\");
  const UINT files = CountListItems("STF_DISK_FILES");
  for (UINT i = 1; i <= files; ++i) {
    const std::string diskName = ListItemText("STF_DISK_FILES", static_cast<INT>(i));
    std::string name = diskName;
    if (CountListItems("STF_INSTALL_NAMES") >= i) {
      const std::string renamed = ListItemText("STF_INSTALL_NAMES", static_cast<INT>(i));
      if (!renamed.empty()) name = renamed;
    }
    // A name that would leave its folder is not looked at: building the copy
    // list refuses it, with its INF line.
    if (!IsPlainFileName(diskName) || !IsPlainFileName(name)) continue;
    // A file that is not vital may be missing: the copy skips it and says so.
    if (!Exists(sourceDir + diskName) && IsVital(i)) NoteMissing(missing, sourceDir + diskName);
    const std::string target = drivers + name;
    PVOID redirection = TurnOffFileRedirection();
    const bool ours = !Exists(target) || RecordedAsOurs(target, earlier);
    RestoreFileRedirection(redirection);
    if (ours) Changes.ownDriverFiles.push_back(target);
  }
}

void CheckDiskFiles(void) {
  std::vector<std::string> missing;
  CheckCopyList(&missing);
  // The uninstaller comes from beside setup.exe, which loaded the same libraries from there.
  char programDir[SETUP_PATH_SIZE];
  if (!ReadProgramDir(programDir)) {
    FailWithMessage("Setup cannot find its own folder to copy the uninstaller from.");
  }
  for (LPCSTR file : kUninstallerFiles) {
    const std::string path = std::string(programDir) + file;
    if (!Exists(path)) NoteMissing(&missing, path);
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
