// Directory ids in INF text: %10% is the Windows folder, %11% System32 and
// so on, as Windows' INF reader replaces them in a %name% that [Strings]
// does not define. The core knows no directories: whoever asks the system
// fills InfSystemDirs, and the table follows from it.
#pragma once

#include <cstddef>
#include <map>
#include <string>

namespace stf {

// Shell folders are ids 16384 + the folder's number (CSIDL).
constexpr long kInfShellFolderBase = 16384;
constexpr long kInfShellFolderCount = 256;

// Asks the system for a shell folder by its number; false when this Windows
// has none. Asked only when a file uses the id: the shell is slow to answer.
using ShellFolderLookup = bool (*)(int csidl, std::string* path);

struct InfDirectoryIds {
  // Id -> directory, without a trailing backslash but for a root ("C:\")
  // and for 01. An id the table lacks stays as written.
  std::map<long, std::string> ids;
  ShellFolderLookup shellFolder = nullptr;
};

struct InfSystemDirs {
  std::string infDirectory;  // 01: the INF file's folder, with its trailing backslash
  std::string windows;       // 10
  std::string system;        // 11
  std::string systemRoot;    // 24: root of the disk Windows is on, "C:\"
  std::string bootRoot;      // 30 and 54: root of the disk the system boots from
  std::string userProfile;   // 53
  std::string driverArch;    // "w32x86": the spooler's folder name for this machine
  ShellFolderLookup shellFolder = nullptr;
};

// The table of every id Windows defines for INF files that the given
// directories answer; an empty directory leaves its ids out.
InfDirectoryIds MakeInfDirectoryIds(const InfSystemDirs& dirs);

// The directory of an id; false when it has none.
bool LookUpDirectoryId(const InfDirectoryIds& dirs, long id, std::string* path);

// The id a %name% spells, as Windows reads one: a decimal number, perhaps
// signed, and nothing else. False when the name is not a number.
bool ParseDirectoryId(const char* name, std::size_t length, long* id);

}  // namespace stf
