// File versions: the dotted text of a file record ("3.10.0.61") and the
// fixed file version in the version resource of a Windows image (PE), read
// straight from the file's bytes so that a file without one costs one small
// read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace stf {

struct FileVersion {
  std::uint16_t part[4] = {0, 0, 0, 0};
};

// 1 to 4 dotted decimal parts of 0-65535 each, nothing else; missing parts
// are 0. False (and *out untouched) on anything else.
bool ParseVersionText(const std::string& text, FileVersion* out);
std::string VersionText(const FileVersion& version);
// <0, 0 or >0 as a is older than, the same as or newer than b.
int CompareVersions(const FileVersion& a, const FileVersion& b);

// Reads up to size bytes at offset into buffer; *got < size only at the end
// of the file. Returns 0 or the system's error code.
using ReadAt = std::function<unsigned long(std::uint64_t offset, void* buffer, std::size_t size,
                                           std::size_t* got)>;

enum class VersionLookup {
  kFound,     // *out holds the file version
  kNone,      // not an image, or an image without a version resource
  kReadError  // *error holds the code
};

// The file version (dwFileVersionMS/LS) of the first RT_VERSION resource of
// a PE image. A damaged image reads as kNone, never out of bounds.
VersionLookup ReadImageVersion(const ReadAt& read, FileVersion* out, unsigned long* error);

}  // namespace stf
