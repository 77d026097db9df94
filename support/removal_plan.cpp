#include "support/removal_plan.h"

#include <set>

#include "platform/setup-toolkit/core/dbcs_path.h"
#include "platform/setup-toolkit/core/path_syntax.h"

namespace {

// The folders the entry names, before any is judged.
std::vector<std::string> NamedFolders(const EntryRecord& entry) {
  if (entry.hasFolders) return RegistryStrings(entry.folders);
  const std::string location = RegistryText(entry.location);
  return location.empty() ? std::vector<std::string>() : std::vector<std::string>{location};
}

bool InOneOf(const std::vector<std::string>& folders, const std::string& file,
             const RemovalRules& rules) {
  for (const std::string& folder : folders) {
    if (FileDirectlyIn(file, folder, rules.isLead)) return true;
  }
  return false;
}

bool HasFolder(const std::vector<std::string>& folders, const std::string& folder,
               const RemovalRules& rules) {
  for (const std::string& known : folders) {
    if (SameDirectory(known, folder, rules.isLead)) return true;
  }
  return false;
}

bool IsUninstallerFile(const std::string& file, const RemovalRules& rules) {
  const std::string name = stf::FileNameOf(file, rules.isLead);
  for (const std::string& own : rules.uninstallerFiles) {
    if (stf::EqualsNoCase(name, own)) return true;
  }
  return false;
}

// The files of an entry from before the records: the uninstaller's, in its folder.
std::vector<PlacedFile> UninstallerFilesIn(const std::string& folder, const RemovalRules& rules) {
  std::vector<PlacedFile> files;
  for (const std::string& name : rules.uninstallerFiles) {
    PlacedFile file;
    file.path = stf::WithBackslash(folder, rules.isLead) + name;
    files.push_back(file);
  }
  return files;
}

}  // namespace

RemovalPlan PlanFolders(const EntryRecord& entry, const RemovalRules& rules) {
  RemovalPlan plan;
  const std::vector<std::string> named = NamedFolders(entry);
  for (const std::string& folder : named) {
    const FolderVerdict verdict =
        JudgeProductFolder(folder, rules.productFolderName, rules.protectedDirs, rules.isLead);
    if (verdict != kFolderOurs) {
      plan.warnings.push_back("Warning: the uninstall entry names " + folder + ", which is " +
                              FolderVerdictText(verdict) + "; the uninstaller leaves it alone");
    } else if (!HasFolder(plan.folders, folder, rules)) {
      plan.folders.push_back(folder);
    }
  }
  const std::string location = RegistryText(entry.location);
  if (!location.empty() && !HasFolder(named, location, rules)) {
    plan.warnings.push_back("Warning: the uninstall entry's InstallLocation names " + location +
                            ", which is not the folder setup made; the uninstaller leaves it alone");
  }
  return plan;
}

void RefuseFolder(RemovalPlan* plan, const std::string& folder, const std::string& why) {
  std::vector<std::string> kept;
  for (const std::string& ours : plan->folders) {
    if (ours != folder) kept.push_back(ours);
  }
  plan->folders = kept;
  plan->warnings.push_back("Warning: " + folder + " is " + why + "; the uninstaller leaves it alone");
}

void PlanFiles(const EntryRecord& entry, const RemovalRules& rules, RemovalPlan* plan) {
  std::vector<PlacedFile> recorded;
  if (entry.hasFolders) {
    recorded = RecordedFiles(entry.files);
  } else {
    for (const std::string& folder : plan->folders) {
      for (const PlacedFile& file : UninstallerFilesIn(folder, rules)) recorded.push_back(file);
    }
  }
  const std::vector<std::string> named = NamedFolders(entry);
  std::set<std::string> seen;
  for (const PlacedFile& file : recorded) {
    // Each once; the driver goes with the service.
    if (!seen.insert(PathKey(file.path)).second || stf::EqualsNoCase(file.path, rules.driverFile)) {
      continue;
    }
    const bool inDrivers = FileDirectlyIn(file.path, rules.driversDir, rules.isLead);
    const bool inOurs = InOneOf(plan->folders, file.path, rules);
    if (inOurs && IsUninstallerFile(file.path, rules)) {
      plan->files.push_back({file, Removal::kByName});
    } else if ((inOurs || inDrivers) && file.hashed) {
      plan->files.push_back({file, Removal::kIfUnchanged});
    } else if (file.path.size() > stf::kMaxPathBytes) {
      plan->warnings.push_back("Warning: the uninstall entry names the file " + file.path + " (" +
                               std::to_string(file.path.size()) +
                               " characters), longer than a path may be; the uninstaller leaves "
                               "it alone");
    } else if (inOurs || inDrivers) {
      plan->warnings.push_back("Warning: the uninstall entry names the file " + file.path +
                               " without its size and SHA-256; the uninstaller cannot tell it "
                               "from a file setup did not install and leaves it alone");
    } else if (!InOneOf(named, file.path, rules)) {  // a refused folder is named once
      plan->warnings.push_back("Warning: the uninstall entry names the file " + file.path +
                               ", which is not in the product's folder or the drivers directory"
                               "; the uninstaller leaves it alone");
    }
  }
}
