// What the uninstaller takes away of what the uninstall entry records, and
// what it leaves alone with a warning: decided from the entry's values as
// the registry gives their bytes, before anything is removed. No Win32 here.
//  - Folders: only the product's own (removal_paths.h); an entry without
//    InstalledFolders, from before the records, names its folder in
//    InstallLocation.
//  - Files recorded with their size and SHA-256, directly in such a folder or
//    in the drivers directory: removed when they are still those bytes.
//  - The uninstaller's own files, directly in such a folder: removed by name,
//    as the entry of an earlier setup recorded them without hashes and a
//    re-install that failed keeps the earlier entry beside this uninstaller.
//  - The driver file: removed with the service, by its one description.
//  - Any other file, a bare path in the drivers directory included: left.
#pragma once

#include <string>
#include <vector>

#include "support/install_record.h"
#include "support/removal_paths.h"

// The entry's values, as their bytes came from the registry.
struct EntryRecord {
  bool hasFiles = false;
  bool hasFolders = false;
  std::string files;     // InstalledFiles (REG_MULTI_SZ)
  std::string folders;   // InstalledFolders (REG_MULTI_SZ)
  std::string location;  // InstallLocation (REG_SZ)
};

struct RemovalRules {
  ProtectedDirs protectedDirs;
  std::string driversDir;  // ending in a backslash
  std::string driverFile;  // removed with the service
  std::string productFolderName;
  std::vector<std::string> uninstallerFiles;  // bare names
  stf::LeadBytePredicate isLead = nullptr;
};

enum class Removal {
  kIfUnchanged,  // when its size and SHA-256 are still the recorded ones
  kByName,       // the uninstaller's own file in the product's folder
};

struct FileToRemove {
  PlacedFile file;
  Removal removal;
};

struct RemovalPlan {
  std::vector<std::string> folders;  // the product's own, in the entry's order
  std::vector<FileToRemove> files;   // each once, in the entry's order
  std::vector<std::string> warnings;  // each names a place left alone, for the log
};

// The folders the entry names that are the product's own; the caller takes
// out those it finds to be links before it plans the files.
RemovalPlan PlanFolders(const EntryRecord& entry, const RemovalRules& rules);
// Leaves out a folder of the plan (a link), with its warning.
void RefuseFolder(RemovalPlan* plan, const std::string& folder, const std::string& why);
void PlanFiles(const EntryRecord& entry, const RemovalRules& rules, RemovalPlan* plan);
