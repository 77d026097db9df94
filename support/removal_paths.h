// Which folders and files the uninstaller may remove: only the product's own
// folder and what the install recorded in it or in the drivers directory.
// Everything else (a root, a drive-relative path, the Windows, system or
// Program Files directory, another product's folder) is refused by name.
#pragma once

#include "platform/win32.h"

enum FolderVerdict {
  kFolderOurs,
  kFolderNotFull,       // not "X:\folder": relative, drive-relative, a share, a device
  kFolderRoot,          // the root of a drive
  kFolderOddName,       // "." or ".." parts, empty parts, wildcards
  kFolderSystem,        // the Windows, system or Program Files directory, or one above them
  kFolderNotProducts,   // its own name is not the product's folder name
};

// The directories no removal may touch, each with or without its trailing backslash.
struct ProtectedDirs {
  LPCSTR windowsDir;
  LPCSTR systemDir;
  LPCSTR programFilesDir;
};

FolderVerdict JudgeProductFolder(LPCSTR folder, LPCSTR productFolderName,
                                 const ProtectedDirs& dirs);
// Why a folder is refused, for the log ("the root of a drive").
LPCSTR FolderVerdictText(FolderVerdict verdict);
// Is the full path `file` a file directly in `folder` (either with or without
// its trailing backslash), its name plain? Case does not matter.
bool FileDirectlyIn(LPCSTR file, LPCSTR folder);
// Do two directory paths name the same directory, trailing backslash or not?
bool SameDirectory(LPCSTR a, LPCSTR b);
