// Cabinet files ("MSCF") that hold one file in one folder, stored or
// MSZIP-compressed, as cabinet tools (gcab) write them for a single driver file.
// A cabinet spanning several disks, holding several files, or compressed
// with another method is refused by name.
#pragma once

#include "packed_file.h"

namespace stf {

bool IsCabinetHeader(const std::uint8_t* head, std::size_t size);
// Reads the header, the folder and the file entry into *out.
SysError ReadCabinetLayout(const ReadAt& read, PackedFile* out, std::string* problem);
SysError ExpandCabinet(const ReadAt& read, const PackedFile& file, const WriteExpanded& write,
                       std::string* problem);

}  // namespace stf
