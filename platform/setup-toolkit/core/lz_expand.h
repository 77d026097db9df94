// Files compressed with LZ in the SZDD format: a 14-byte header ("SZDD",
// four signature bytes, the method 'A', the last character of the name, the
// expanded size) and LZSS data over a 4,096-byte window.
#pragma once

#include "packed_file.h"

namespace stf {

constexpr std::size_t kLzHeaderSize = 14;

bool IsLzHeader(const std::uint8_t* head, std::size_t size);
// The header's method and expanded size; kErrorFileCorrupt for a method
// other than 'A'.
SysError ReadLzHeader(const std::uint8_t* head, std::size_t size, PackedFile* out,
                      std::string* problem);
SysError ExpandLz(const ReadAt& read, std::uint64_t expandedSize, const WriteExpanded& write,
                  std::string* problem);

}  // namespace stf
