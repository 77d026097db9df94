#include "packed_file.h"

#include <cstring>

#include "cab_expand.h"
#include "lz_expand.h"

namespace stf {
namespace {

// Not a Win32 code (the customer bit is set): the reader has what it wanted.
constexpr SysError kEnough = 0xE0000001;

}  // namespace

SysError ProbePacking(const ReadAt& read, PackedFile* out, std::string* problem) {
  *out = PackedFile();
  std::uint8_t head[kLzHeaderSize];
  std::size_t got = 0;
  if (SysError error = read(0, head, sizeof head, &got)) return error;
  if (IsLzHeader(head, got)) return ReadLzHeader(head, got, out, problem);
  if (IsCabinetHeader(head, got)) return ReadCabinetLayout(read, out, problem);
  return 0;
}

SysError ExpandPacked(const ReadAt& read, const PackedFile& file, const WriteExpanded& write,
                      std::string* problem) {
  switch (file.packing) {
    case Packing::kLz: return ExpandLz(read, file.expandedSize, write, problem);
    case Packing::kCabinet: return ExpandCabinet(read, file, write, problem);
    default: return 0;
  }
}

ReadAt ExpandedReader(const ReadAt& read, const PackedFile& file) {
  return [read, file](std::uint64_t offset, void* buffer, std::size_t size,
                      std::size_t* got) -> unsigned long {
    *got = 0;
    if (size == 0 || offset >= file.expandedSize) return 0;
    std::uint64_t at = 0;  // of the chunk being handed over
    WriteExpanded take = [&](const void* data, std::size_t length) -> SysError {
      const std::uint64_t end = at + length;
      if (end > offset) {
        const std::uint64_t from = offset + *got - at;
        std::size_t n = static_cast<std::size_t>(length - from);
        if (n > size - *got) n = size - *got;
        std::memcpy(static_cast<char*>(buffer) + *got, static_cast<const char*>(data) + from, n);
        *got += n;
      }
      at = end;
      return *got == size ? kEnough : 0;
    };
    std::string problem;
    const SysError error = ExpandPacked(read, file, take, &problem);
    return error == kEnough ? 0 : error;
  };
}

const char* PackingName(Packing packing) {
  switch (packing) {
    case Packing::kLz: return "LZ-compressed";
    case Packing::kCabinet: return "a cabinet";
    default: return "plain";
  }
}

}  // namespace stf
