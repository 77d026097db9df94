// Fuzzes the toolkit core's expansion of LZ files and one-file cabinets:
// nothing outside the input is read, and no more is handed on than the
// header promised.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "packed_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  stf::ReadAt read = [data, size](std::uint64_t offset, void* buffer, std::size_t want,
                                  std::size_t* got) -> unsigned long {
    *got = offset >= size ? 0 : (want < size - offset ? want : size - offset);
    if (*got != 0) std::memcpy(buffer, data + offset, *got);
    return 0;
  };
  stf::PackedFile file;
  std::string problem;
  if (stf::ProbePacking(read, &file, &problem) != 0 || file.packing == stf::Packing::kPlain) {
    return 0;
  }
  // A header may promise gigabytes; what the input can really expand to is bounded.
  std::uint64_t handed = 0;
  const stf::WriteExpanded write = [&](const void*, std::size_t length) -> stf::SysError {
    handed += length;
    if (handed > file.expandedSize) std::abort();
    return handed > (64u << 20) ? 112 : 0;
  };
  stf::ExpandPacked(read, file, write, &problem);
  std::uint8_t head[64];
  std::size_t got = 0;
  stf::ExpandedReader(read, file)(file.expandedSize / 2, head, sizeof head, &got);
  return 0;
}
