// Directory ids in INF text: %10% is the Windows folder, %11% System32 and
// so on, as Windows' INF reader replaces them in a %name% that [Strings]
// does not define. The core knows no directories: whoever asks the system
// fills InfSystemDirs, and the table follows from it.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace stf {

// Directory id -> directory, without a trailing backslash but for a root
// ("C:\") and for 01. An id missing from the table stays as written.
using InfDirectoryIds = std::map<long, std::string>;

// Shell folders are ids 16384 + the folder's number (CSIDL).
constexpr long kInfShellFolderBase = 16384;

struct InfSystemDirs {
  std::string infDirectory;  // 01: the INF file's folder, with its trailing backslash
  std::string windows;       // 10
  std::string system;        // 11
  std::string systemRoot;    // 24: root of the disk Windows is on, "C:\"
  std::string bootRoot;      // 30 and 54: root of the disk the system boots from
  std::string userProfile;   // 53
  std::string driverArch;    // "w32x86": the spooler's folder name for this machine
  std::vector<std::pair<int, std::string>> shellFolders;  // folder number, path
};

// The table of every id Windows defines for INF files that the given
// directories answer; an empty directory leaves its ids out.
InfDirectoryIds MakeInfDirectoryIds(const InfSystemDirs& dirs);

// The id a %name% spells, as Windows reads one: a decimal number, perhaps
// signed, and nothing else. False when the name is not a number.
bool ParseDirectoryId(const char* name, std::size_t length, long* id);

}  // namespace stf
