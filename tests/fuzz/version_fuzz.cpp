// Fuzzes the toolkit core's reading of a version resource from an image's
// bytes: nothing outside the input may ever be read.
#include <cstdint>
#include <cstring>

#include "file_version.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  stf::ReadAt read = [data, size](std::uint64_t offset, void* buffer, std::size_t want,
                                  std::size_t* got) -> unsigned long {
    *got = offset >= size ? 0 : (want < size - offset ? want : size - offset);
    if (*got != 0) std::memcpy(buffer, data + offset, *got);
    return 0;
  };
  stf::FileVersion version;
  unsigned long error = 0;
  stf::ReadImageVersion(read, &version, &error);
  return 0;
}
