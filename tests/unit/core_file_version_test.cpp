#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core_memory_fs.h"
#include "file_version.h"

namespace stf {
namespace {

VersionLookup Lookup(const std::string& bytes, FileVersion* version) {
  const ReadAt read = [&bytes](std::uint64_t offset, void* buffer, std::size_t size,
                               std::size_t* got) -> unsigned long {
    *got = offset >= bytes.size() ? 0 : std::min<std::size_t>(size, bytes.size() - offset);
    if (*got) std::memcpy(buffer, bytes.data() + offset, *got);
    return 0;
  };
  unsigned long error = 0;
  return ReadImageVersion(read, version, &error);
}

TEST(FileVersion, TextAndOrder) {
  const char* good[][2] = {{"3.10.0.61", "3.10.0.61"}, {"1", "1.0.0.0"}, {"65535.0", "65535.0.0.0"}};
  for (const auto& g : good) {
    FileVersion v;
    ASSERT_TRUE(ParseVersionText(g[0], &v)) << g[0];
    EXPECT_EQ(VersionText(v), g[1]);
  }
  for (const char* bad : {"", "1.", ".1", "1..2", "1.2.3.4.5", "65536", "1.a", " 1", "-1"}) {
    FileVersion v;
    EXPECT_FALSE(ParseVersionText(bad, &v)) << bad;
  }
  FileVersion a, b;
  ParseVersionText("3.10.0.61", &a);
  ParseVersionText("3.9.65535", &b);
  EXPECT_GT(CompareVersions(a, b), 0);
  EXPECT_LT(CompareVersions(b, a), 0);
  EXPECT_EQ(CompareVersions(a, a), 0);
}

TEST(FileVersion, FromTheImage) {
  FileVersion want, got;
  ParseVersionText("3.10.0.61", &want);
  const std::string image = test::ImageWithVersion(want);
  ASSERT_EQ(Lookup(image, &got), VersionLookup::kFound);
  EXPECT_EQ(VersionText(got), "3.10.0.61");

  // Not an image, or one cut short or pointing outside itself: no version,
  // and never a read outside the bytes.
  EXPECT_EQ(Lookup("plain text", &got), VersionLookup::kNone);
  EXPECT_EQ(Lookup("", &got), VersionLookup::kNone);
  for (std::size_t cut : {0x40u, 0x100u, 0x210u, 0x260u}) {
    EXPECT_EQ(Lookup(image.substr(0, cut), &got), VersionLookup::kNone) << cut;
  }
  std::string wild = image;
  wild[0x3C] = '\x7F';  // the PE header far beyond the end
  wild[0x3F] = '\x7F';
  EXPECT_EQ(Lookup(wild, &got), VersionLookup::kNone);
  std::string noSignature = image;
  noSignature[0x200 + 0x58 + 40] = 0;
  EXPECT_EQ(Lookup(noSignature, &got), VersionLookup::kNone);

  const ReadAt failing = [](std::uint64_t, void*, std::size_t, std::size_t*) -> unsigned long {
    return 23;  // ERROR_CRC
  };
  unsigned long error = 0;
  EXPECT_EQ(ReadImageVersion(failing, &got, &error), VersionLookup::kReadError);
  EXPECT_EQ(error, 23u);
}

}  // namespace
}  // namespace stf
