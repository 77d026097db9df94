// Source files as driver disks hold them: plain, compressed with LZ (the
// SZDD format: "SZDD", then the expanded size) or a cabinet ("MSCF") that
// holds the one file, stored or MSZIP-compressed. A file is recognised by its
// first bytes, never by its name, and expanded as it is read, so that the
// copy writes the expanded file inside its own transaction.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "copy_host.h"

namespace stf {

// ERROR_FILE_CORRUPT: a compressed file that cannot be expanded.
constexpr SysError kErrorFileCorrupt = 1392;

enum class Packing { kPlain, kLz, kCabinet };

struct PackedFile {
  Packing packing = Packing::kPlain;
  std::uint64_t expandedSize = 0;  // not known for a plain file
  // A cabinet's one folder: its first data block, their number, the
  // compression, and the reserved bytes each block's header carries.
  std::uint64_t dataStart = 0;
  std::uint32_t blocks = 0;
  std::uint32_t compression = 0;
  std::uint32_t blockReserve = 0;
};

// Takes the expanded bytes in order; a non-zero result stops the expansion,
// which then returns it.
using WriteExpanded = std::function<SysError(const void* data, std::size_t size)>;

// Reads the file's header. A damaged header is kErrorFileCorrupt, a read
// failure the read's error; *problem then says what is wrong, and
// out->packing what the file's first bytes said it is.
SysError ProbePacking(const ReadAt& read, PackedFile* out, std::string* problem);

// Expands a compressed file (not kPlain) into write. Damaged data, or data
// that disagrees with the expanded size the header promised, is
// kErrorFileCorrupt with *problem saying what.
SysError ExpandPacked(const ReadAt& read, const PackedFile& file, const WriteExpanded& write,
                      std::string* problem);

// The expanded file as a ReadAt, for the few reads of an image's headers and
// version: each read expands from the start up to the bytes it wants.
ReadAt ExpandedReader(const ReadAt& read, const PackedFile& file);

// "LZ-compressed" or "a cabinet", for messages.
const char* PackingName(Packing packing);

}  // namespace stf
