// Which folders and files the uninstaller may remove: only the product's own
// folder and what the install recorded in it or in the drivers directory.
// Everything else (a root, a drive-relative path, the Windows, system or
// Program Files directory, another product's folder, a path longer than
// Windows allows) is refused by name. Paths are walked by whole characters
// with the caller's lead-byte test; case is compared in ASCII only, as the
// paths compared are the system's and setup's own spellings.
#pragma once

#include <string>

#include "platform/setup-toolkit/core/ansi_text.h"

enum FolderVerdict {
  kFolderOurs,
  kFolderNotFull,       // not "X:\folder": relative, drive-relative, a share, a device
  kFolderRoot,          // the root of a drive
  kFolderOddName,       // "." or ".." parts, empty parts, wildcards, control characters
  kFolderSystem,        // the Windows, system or Program Files directory, or one above them
  kFolderNotProducts,   // its own name is not the product's folder name
  kFolderTooLong,       // longer than a folder's path may be
};

// The directories no removal may touch, each with or without its trailing backslash.
struct ProtectedDirs {
  std::string windowsDir;
  std::string systemDir;
  std::string programFilesDir;
};

FolderVerdict JudgeProductFolder(const std::string& folder, const std::string& productFolderName,
                                 const ProtectedDirs& dirs, stf::LeadBytePredicate isLead);
// Why a folder is refused, for the log ("the root of a drive").
const char* FolderVerdictText(FolderVerdict verdict);
// Is the full path `file` a file directly in `folder` (either with or without
// its trailing backslash), its name plain and the whole no longer than a path may be?
bool FileDirectlyIn(const std::string& file, const std::string& folder,
                    stf::LeadBytePredicate isLead);
// Do two directory paths name the same directory, trailing backslash or not?
bool SameDirectory(const std::string& a, const std::string& b, stf::LeadBytePredicate isLead);
