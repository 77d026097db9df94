// What an install placed, as its uninstall entry records it: each file's
// full path with its size and SHA-256, one item of the REG_MULTI_SZ value
// InstalledFiles each, so that the uninstaller (and whatever checks the
// driver later) can tell the file setup placed from one put there since.
//   <64 lower-case hexadecimal digits> <size in bytes, decimal> <full path>
// An earlier setup recorded the bare path. No Win32 here: the readers take
// the registry's bytes as they come, terminated or not.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The entry's values: the files (items as below), the folders it made, and
// the driver's version, which the check after the restart may put back.
extern const char kInstalledFilesValue[];
extern const char kInstalledFoldersValue[];
extern const char kDisplayVersionValue[];

struct PlacedFile {
  std::string path;
  bool hashed = false;  // false: a bare path, from an earlier setup
  std::uint64_t size = 0;
  std::string sha256;  // 64 lower-case hexadecimal digits
};

std::string PlacedFileItem(const PlacedFile& file);
// Any text reads as an item: one that does not start as a hashed item is a bare path.
PlacedFile ReadPlacedFileItem(const std::string& item);
// Same size and digest (both hashed).
bool SameContent(const PlacedFile& a, const PlacedFile& b);

// The strings of a REG_MULTI_SZ value's bytes, up to the first empty one; a
// last string without its NUL counts.
std::vector<std::string> RegistryStrings(const std::string& bytes);
// A REG_SZ value's text: its bytes up to the first NUL.
std::string RegistryText(const std::string& bytes);
// A path as a key that compares without ASCII case, for sets and maps of paths.
std::string PathKey(const std::string& path);
// The items of an InstalledFiles value's bytes.
std::vector<PlacedFile> RecordedFiles(const std::string& bytes);
