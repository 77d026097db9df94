#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core_packing.h"
#include "image_kind.h"

namespace stf {
namespace {

// The first bytes of a PE image, its header at 0x80.
std::string Pe(std::uint16_t machine, std::uint16_t subsystem, std::uint16_t flags) {
  std::string b(0x400, '\0');
  auto put16 = [&b](std::size_t at, std::uint16_t v) {
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>(v >> 8);
  };
  b[0] = 'M';
  b[1] = 'Z';
  b[0x3C] = '\x80';
  std::memcpy(&b[0x80], "PE\0\0", 4);
  put16(0x84, machine);
  put16(0x80 + 20, 0xE0);  // size of the optional header
  put16(0x80 + 22, flags);
  put16(0x80 + 24, 0x10B);
  put16(0x80 + 24 + 68, subsystem);
  return b;
}

TEST(ImageKind, ReadsMachineAndSubsystemOnlyFromAWholeHeader) {
  const std::string driver = Pe(0x014C, kSubsystemNative, kImageExecutable);
  std::string farHeader = driver;
  farHeader[0x3D] = '\x7F';
  std::string shortOptional = driver;
  shortOptional[0x80 + 20] = 0x10;
  std::string damaged = test::LzCompress(driver);
  damaged.resize(damaged.size() / 2);
  struct Case {
    const char* name;
    std::string bytes;
    SysError error;
    bool image;
    std::uint16_t machine, subsystem;
    Packing packing;
  } cases[] = {
      {"i386 driver", driver, 0, true, 0x014C, 1, Packing::kPlain},
      {"x64 driver", Pe(0x8664, 1, kImageExecutable), 0, true, 0x8664, 1, Packing::kPlain},
      {"GUI DLL", Pe(0x014C, 2, kImageExecutable | kImageDll), 0, true, 0x014C, 2, Packing::kPlain},
      {"text", "[Version]\r\nSignature=\"$Windows NT$\"\r\n", 0, false, 0, 0, Packing::kPlain},
      {"truncated header", driver.substr(0, 0x80 + 60), 0, false, 0, 0, Packing::kPlain},
      {"header beyond the first page", farHeader, 0, false, 0, 0, Packing::kPlain},
      {"optional header too short", shortOptional, 0, false, 0, 0, Packing::kPlain},
      {"SZDD of a driver", test::LzCompress(driver), 0, true, 0x014C, 1, Packing::kLz},
      {"cabinet of a driver", test::Cabinet(Pe(0x8664, 1, 2), true), 0, true, 0x8664, 1,
       Packing::kCabinet},
      {"damaged SZDD", damaged, kErrorFileCorrupt, false, 0, 0, Packing::kPlain}};
  for (const Case& c : cases) {
    ImageKind kind;
    std::string problem;
    EXPECT_EQ(ReadImageKind(test::MemoryReader(c.bytes), &kind, &problem), c.error) << c.name;
    EXPECT_EQ(kind.image, c.image) << c.name;
    EXPECT_EQ(kind.machine, c.machine) << c.name;
    EXPECT_EQ(kind.subsystem, c.subsystem) << c.name;
    EXPECT_EQ(kind.packing, c.packing) << c.name;
  }
}

// Only an image whose header surely lists no certificate table may skip
// Windows' signature check; anything not read to the end is kUnknown.
TEST(ImageKind, TellsACertificateTableOnlyFromAWholeEntry) {
  // optional: the optional header's magic; count: its data directories.
  auto image = [](std::uint16_t magic, std::uint32_t count, std::uint32_t address,
                  std::uint32_t size) {
    std::string b = Pe(0x014C, 2, kImageExecutable);
    const std::size_t optional = 0x80 + 24;
    const std::size_t directories = magic == 0x10B ? 96 : 112;
    auto put32 = [&b](std::size_t at, std::uint32_t v) {
      for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    b[optional] = static_cast<char>(magic & 0xFF);
    b[optional + 1] = static_cast<char>(magic >> 8);
    b[0x80 + 20] = static_cast<char>(directories + 16 * 8);  // the optional header's size
    put32(optional + directories - 4, count);
    put32(optional + directories + 4 * 8, address);
    put32(optional + directories + 4 * 8 + 4, size);
    return b;
  };
  const std::string signed32 = image(0x10B, 16, 0x2000, 0x1A8);
  std::string shortDeclared = signed32;
  shortDeclared[0x80 + 20] = static_cast<char>(96 + 4 * 8);  // ends before the entry
  struct Case {
    const char* name;
    std::string bytes;
    CertificateTable expected;
  } cases[] = {
      {"PE32, no signature", image(0x10B, 16, 0, 0), CertificateTable::kAbsent},
      {"PE32, signed", signed32, CertificateTable::kPresent},
      {"PE32+, no signature", image(0x20B, 16, 0, 0), CertificateTable::kAbsent},
      {"PE32+, signed", image(0x20B, 16, 0x3000, 0x200), CertificateTable::kPresent},
      {"entry with a place but no size", image(0x10B, 16, 0x2000, 0), CertificateTable::kPresent},
      {"four directories only", image(0x10B, 4, 0, 0), CertificateTable::kUnknown},
      {"optional header ends before the entry", shortDeclared, CertificateTable::kUnknown},
      {"file ends before the entry", signed32.substr(0, 0x80 + 24 + 96 + 4 * 8 + 4),
       CertificateTable::kUnknown},
      {"unknown optional header", image(0x107, 16, 0, 0), CertificateTable::kUnknown},
      {"text", "MZ is not enough", CertificateTable::kUnknown}};
  for (const Case& c : cases) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(c.bytes.data());
    EXPECT_EQ(ImageKindOf(bytes, c.bytes.size()).certificates, c.expected) << c.name;
  }
}

}  // namespace
}  // namespace stf
