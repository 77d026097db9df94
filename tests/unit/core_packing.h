// Compressed files for the expander's tests: LZ (SZDD) from a greedy
// compressor over the format's 4,096-byte window, and one-file cabinets,
// stored or MSZIP (deflate by zlib, each block reaching back into the last).
#pragma once

#include <cstdint>
#include <string>

#include "file_version.h"

namespace stf {
namespace test {

std::string LzCompress(const std::string& data);
std::string Cabinet(const std::string& data, bool mszip);
// Random bytes, and text with long and overlapping repeats.
std::string Noise(std::size_t size, std::uint32_t seed);
std::string Prose(std::size_t size);
// A ReadAt over bytes in memory.
ReadAt MemoryReader(const std::string& bytes);

}  // namespace test
}  // namespace stf
