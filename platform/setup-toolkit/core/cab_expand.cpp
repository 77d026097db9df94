#include "cab_expand.h"

#include <cstring>
#include <vector>

#include "inflate.h"

namespace stf {
namespace {

constexpr std::size_t kHeaderSize = 36;
constexpr std::size_t kReserveFieldsSize = 4;
constexpr std::size_t kFolderSize = 8;
constexpr std::size_t kFileEntrySize = 16;
constexpr std::size_t kBlockHeaderSize = 8;
constexpr std::uint32_t kFlagPrevious = 1, kFlagNext = 2, kFlagReserve = 4;
constexpr std::uint32_t kStored = 0, kMszip = 1;
constexpr std::uint32_t kCompressionMask = 0x000F;
constexpr std::size_t kMszipBlock = 32768;  // and the history a block may reach back into

std::uint32_t Le16(const std::uint8_t* p) { return p[0] | (p[1] << 8); }
std::uint32_t Le32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

SysError Damaged(std::string* problem, const std::string& what) {
  *problem = what;
  return kErrorFileCorrupt;
}

// Exactly size bytes at offset; a short read is damage, not an error.
SysError ReadExactly(const ReadAt& read, std::uint64_t offset, std::size_t size,
                     std::vector<std::uint8_t>* out, std::string* problem) {
  out->resize(size);
  std::size_t got = 0;
  if (SysError error = read(offset, out->data(), size, &got)) return error;
  return got == size ? 0 : Damaged(problem, "it ends early");
}

// The cabinet checksum of a data block: its data, then the two sizes.
std::uint32_t Checksum(const std::uint8_t* data, std::size_t size, std::uint32_t seed) {
  std::uint32_t sum = seed;
  std::size_t i = 0;
  for (; i + 4 <= size; i += 4) sum ^= Le32(data + i);
  std::uint32_t rest = 0;
  for (; i < size; ++i) rest = (rest << 8) | data[i];
  return sum ^ rest;
}

const char* MethodName(std::uint32_t method) {
  switch (method) {
    case 2: return "Quantum";
    case 3: return "LZX";
    default: return "an unknown method";
  }
}

}  // namespace

bool IsCabinetHeader(const std::uint8_t* head, std::size_t size) {
  return size >= 8 && std::memcmp(head, "MSCF\0\0\0\0", 8) == 0;
}

SysError ReadCabinetLayout(const ReadAt& read, PackedFile* out, std::string* problem) {
  out->packing = Packing::kCabinet;
  std::vector<std::uint8_t> h;
  if (SysError e = ReadExactly(read, 0, kHeaderSize + kReserveFieldsSize, &h, problem)) return e;
  const std::uint32_t folders = Le16(&h[26]), files = Le16(&h[28]), flags = Le16(&h[30]);
  if (flags & (kFlagPrevious | kFlagNext)) {
    return Damaged(problem, "it is one part of a cabinet that spans several files");
  }
  if (folders != 1 || files != 1) {
    return Damaged(problem, "it holds " + std::to_string(files) + " files in " +
                                std::to_string(folders) + " folders, not the one file");
  }
  std::uint64_t folder = kHeaderSize;
  std::uint32_t folderReserve = 0;
  if (flags & kFlagReserve) {
    folder += kReserveFieldsSize + Le16(&h[36]);
    folderReserve = h[38];
    out->blockReserve = h[39];
  }
  std::vector<std::uint8_t> f;
  if (SysError e = ReadExactly(read, folder, kFolderSize + folderReserve, &f, problem)) return e;
  out->dataStart = Le32(&f[0]);
  out->blocks = Le16(&f[4]);
  out->compression = Le16(&f[6]) & kCompressionMask;
  if (out->compression != kStored && out->compression != kMszip) {
    return Damaged(problem, std::string("it is compressed with ") + MethodName(out->compression) +
                                ", which setup does not expand");
  }
  std::vector<std::uint8_t> entry;
  if (SysError e = ReadExactly(read, Le32(&h[16]), kFileEntrySize, &entry, problem)) return e;
  if (Le32(&entry[4]) != 0 || Le16(&entry[8]) != 0) {
    return Damaged(problem, "its file does not start its folder");
  }
  out->expandedSize = Le32(&entry[0]);
  return 0;
}

// Each data block: checksum, compressed and expanded size, reserved bytes,
// data. MSZIP data is "CK" and a deflate stream that may reach back into the
// 32 KiB the blocks before it wrote.
SysError ExpandCabinet(const ReadAt& read, const PackedFile& file, const WriteExpanded& write,
                       std::string* problem) {
  std::vector<std::uint8_t> header, data, history;
  std::uint64_t offset = file.dataStart, written = 0;
  for (std::uint32_t block = 0; block < file.blocks; ++block) {
    const std::string where = " (data block " + std::to_string(block + 1) + ")";
    const std::size_t headerSize = kBlockHeaderSize + file.blockReserve;
    if (SysError e = ReadExactly(read, offset, headerSize, &header, problem)) return e;
    const std::size_t packed = Le16(&header[4]), expanded = Le16(&header[6]);
    if (SysError e = ReadExactly(read, offset + headerSize, packed, &data, problem)) return e;
    offset += headerSize + packed;
    const std::uint32_t sum = Le32(&header[0]);
    if (sum != 0 && Checksum(&header[4], 4, Checksum(data.data(), packed, 0)) != sum) {
      return Damaged(problem, "its checksum does not match" + where);
    }
    if (file.expandedSize - written < expanded) {
      return Damaged(problem, "it holds more data than its file entry says" + where);
    }
    const std::uint8_t* bytes = data.data();
    if (file.compression == kMszip) {
      const std::size_t kept = history.size();
      if (packed < 2 || data[0] != 'C' || data[1] != 'K' || expanded > kMszipBlock ||
          !Inflate(data.data() + 2, packed - 2, &history, kept + expanded) ||
          history.size() != kept + expanded) {
        return Damaged(problem, "its compressed data is damaged" + where);
      }
      bytes = history.data() + kept;
    } else if (packed != expanded) {
      return Damaged(problem, "a stored block's sizes differ" + where);
    }
    if (expanded != 0) {
      if (SysError e = write(bytes, expanded)) return e;
    }
    written += expanded;
    if (history.size() > kMszipBlock) history.erase(history.begin(), history.end() - kMszipBlock);
  }
  if (written != file.expandedSize) {
    return Damaged(problem, "it expands to " + std::to_string(written) +
                                " bytes where its file entry says " +
                                std::to_string(file.expandedSize));
  }
  return 0;
}

}  // namespace stf
