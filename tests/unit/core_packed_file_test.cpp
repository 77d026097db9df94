#include <gtest/gtest.h>

#include <string>

#include "core_packing.h"
#include "inflate.h"
#include "packed_file.h"

namespace stf {
namespace {

using test::Cabinet;
using test::LzCompress;
using test::MemoryReader;
using test::Noise;
using test::Prose;

// What the expander makes of a file: its error, and the bytes it handed on.
struct Expanded {
  SysError error = 0;
  PackedFile file;
  std::string data, problem;
};

Expanded Expand(const std::string& packed) {
  Expanded e;
  const ReadAt read = MemoryReader(packed);
  e.error = ProbePacking(read, &e.file, &e.problem);
  if (e.error != 0) return e;
  e.error = ExpandPacked(read, e.file, [&e](const void* data, std::size_t size) {
    e.data.append(static_cast<const char*>(data), size);
    return SysError(0);
  }, &e.problem);
  return e;
}

// Sizes around the LZ window (4,096 bytes) and the MSZIP block (32,768).
TEST(PackedFile, ExpandsLzAndCabinetsOfEverySize) {
  for (std::size_t size : {0, 1, 4095, 4096, 4097, 9000, 32768, 32769, 70000}) {
    for (const std::string& data : {Prose(size), Noise(size, static_cast<std::uint32_t>(size))}) {
      const std::pair<std::string, Packing> forms[] = {
          {size <= 9000 ? LzCompress(data) : std::string(), Packing::kLz},
          {Cabinet(data, false), Packing::kCabinet},
          {Cabinet(data, true), Packing::kCabinet}};
      for (const auto& [packed, packing] : forms) {
        if (packed.empty()) continue;  // the test's LZ compressor is slow
        const Expanded e = Expand(packed);
        ASSERT_EQ(e.error, 0u) << size << " " << e.problem;
        EXPECT_EQ(e.file.packing, packing);
        EXPECT_EQ(e.file.expandedSize, size);
        EXPECT_TRUE(e.data == data) << size << " " << PackingName(packing);
      }
    }
  }
  EXPECT_LT(LzCompress(Prose(9000)).size(), 3000u);  // the matches were used
}

// Deflate at the edges of its tables: a back-reference from as far as the
// format reaches (the last distance code, base 24577), and stored blocks whose
// length and its complement must agree.
TEST(PackedFile, DeflateAtTheEdgesOfItsTables) {
  const std::string head = Noise(8000, 7);
  // 28,000 bytes back: zlib reaches no further than 32,506.
  const std::string data = head + Noise(20000, 8) + head.substr(0, 3000);
  const Expanded e = Expand(Cabinet(data, true));
  ASSERT_EQ(e.error, 0u) << e.problem;
  EXPECT_TRUE(e.data == data);
  const struct {
    std::vector<std::uint8_t> stream;
    bool read;
  } stored[] = {
      {{0x01, 0x05, 0x00, 0xFA, 0xFF, 'h', 'e', 'l', 'l', 'o'}, true},
      {{0x01, 0x05, 0x00, 0x00, 0x00, 'h', 'e', 'l', 'l', 'o'}, false},
      {{0x01, 0x05, 0x00, 0xFA, 0xFE, 'h', 'e', 'l', 'l', 'o'}, false},
      {{0x01, 0x05, 0x00, 0xFA, 0xFF, 'h', 'e', 'l', 'l'}, false},
  };
  for (const auto& c : stored) {
    std::vector<std::uint8_t> out;
    EXPECT_EQ(Inflate(c.stream.data(), c.stream.size(), &out, 100), c.read);
    if (c.read) {
      EXPECT_EQ(std::string(out.begin(), out.end()), "hello");
    }
  }
}

TEST(PackedFile, PlainFilesAreLeftAlone) {
  for (const std::string& plain : {std::string(), std::string("MZ\x90"), std::string("SZDD"),
                                   std::string("MSCF\x01\0\0\0", 8) + std::string(40, '\0')}) {
    const Expanded e = Expand(plain);
    EXPECT_EQ(e.error, 0u);
    EXPECT_EQ(e.file.packing, Packing::kPlain);
  }
}

std::string Patched(std::string bytes, std::size_t at, const std::string& with) {
  return bytes.replace(at, with.size(), with);
}

TEST(PackedFile, DamageIsRefusedNeverExpandedPastWhatTheHeaderSays) {
  const std::string data = Prose(5000) + Noise(3000, 7);
  const std::string lz = LzCompress(data);
  const std::string cab = Cabinet(data, true);
  const std::string stored = Cabinet(data, false);
  const std::size_t block = 44 + 16 + 13;  // the cabinets' first data block
  struct Case {
    const char* words;
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {
      {"cut short", "LZ header", lz.substr(0, 12)},
      {"other than LZ", "LZ method", Patched(lz, 8, "B")},
      {"expands to", "LZ data ends early", lz.substr(0, lz.size() - 40)},
      {"middle of a match", "LZ cut in a match", LzCompress(std::string(10, ' ')).substr(0, 16)},
      {"more data than its header", "LZ size too small", Patched(lz, 10, std::string("\x10\0", 2))},
      {"expands to", "LZ size too large", Patched(lz, 10, std::string("\0\0\1", 3))},
      {"spans several", "cabinet continued", Patched(cab, 30, "\x02")},
      {"2 files", "cabinet of two files", Patched(cab, 28, "\x02")},
      {"LZX", "LZX cabinet", Patched(cab, 42, "\x03")},
      {"checksum", "cabinet checksum", Patched(cab, block, "\x01\x02\x03\x04")},
      {"damaged", "MSZIP without CK", Patched(cab, block + 8, "XK")},
      {"damaged", "MSZIP data garbled", Patched(cab, block + 12, std::string(30, '\xFF'))},
      {"ends early", "cabinet cut short", cab.substr(0, cab.size() - 5)},
      {"expands to", "file entry too large", Patched(cab, 44, "\x41\x20")},
      {"more data than its file entry", "file entry too small", Patched(cab, 44, "\x10\x00")},
      {"sizes differ", "stored block sizes", Patched(stored, block + 4, "\x11")},
      {"does not start its folder", "file not at the folder's start", Patched(cab, 48, "\x01")}};
  for (const auto& [words, name, bytes] : cases) {
    const Expanded e = Expand(bytes);
    EXPECT_EQ(e.error, kErrorFileCorrupt) << name;
    EXPECT_NE(e.problem.find(words), std::string::npos) << name << ": " << e.problem;
    EXPECT_LE(e.data.size(), e.file.expandedSize) << name;
  }
}

TEST(PackedFile, ReadAndWriteErrorsComeBackAsTheyWere) {
  const std::string lz = LzCompress(Prose(3000));
  PackedFile file;
  std::string problem;
  ASSERT_EQ(ProbePacking(MemoryReader(lz), &file, &problem), 0u);
  const ReadAt failing = [&lz](std::uint64_t offset, void* buffer, std::size_t size,
                               std::size_t* got) -> unsigned long {
    return offset >= 14 ? 23 : MemoryReader(lz)(offset, buffer, size, got);
  };
  const WriteExpanded sink = [](const void*, std::size_t) { return SysError(0); };
  EXPECT_EQ(ExpandPacked(failing, file, sink, &problem), 23u);
  const WriteExpanded full = [](const void*, std::size_t) { return SysError(112); };
  EXPECT_EQ(ExpandPacked(MemoryReader(lz), file, full, &problem), 112u);
}

}  // namespace
}  // namespace stf
