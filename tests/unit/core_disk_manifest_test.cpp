// The disk's manifest: what the build writes is read back whole, anything
// else is refused; each verdict leads where the rules of a signed and an
// unsigned disk say; and the libraries an image imports, which the programs
// load (checked) before it.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "disk_manifest.h"
#include "image_kind.h"

namespace stf {
namespace {

const std::string kAbc = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";  // "abc"

TEST(DiskManifest, ReadsWhatTheBuildWritesAndRefusesTheRest) {
  const std::string good = std::string(kManifestHeader) + "\nsetup.inf\t3\t" + kAbc +
                           "\nmlxidecd.SY_\t40\t" + kAbc + "\t3\t" + kAbc + "\n\n\n";
  DiskManifest m;
  std::string problem;
  ASSERT_TRUE(ParseManifest(good.c_str(), good.size(), &m, &problem)) << problem;
  ASSERT_EQ(m.entries.size(), 2u);
  EXPECT_FALSE(m.entries[0].packed);
  EXPECT_TRUE(m.entries[1].packed);
  EXPECT_EQ(FindManifestEntry(m, "MLXIDECD.sy_"), &m.entries[1]);
  // The room's NULs end it, as the resource's padding does.
  const std::string padded = good + std::string(64, '\0');
  EXPECT_TRUE(ParseManifest(padded.data(), padded.size(), &m, &problem));

  const std::string header = std::string(kManifestHeader) + "\n";
  const struct {
    std::string text;
    const char* why;
  } bad[] = {
      {"", "empty"},
      {"disk manifest 2\n", "another form"},
      {header + "setup.inf\t3\n", "no digest"},
      {header + "setup.inf\t3\t" + kAbc.substr(1) + "\n", "a short digest"},
      {header + "setup.inf\t3\t" + std::string(64, 'A') + "\n", "upper-case digits"},
      {header + "setup.inf\t-3\t" + kAbc + "\n", "a size that is no number"},
      {header + "setup.inf\t3\t" + kAbc + "\t3\n", "half a compressed entry"},
      {header + "a\t3\t" + kAbc + "\nA\t3\t" + kAbc + "\n", "a name twice"},
      {header + std::string(1, '\0') + "x", "text after the end"},
  };
  for (const auto& c : bad) {
    EXPECT_FALSE(ParseManifest(c.text.data(), c.text.size(), &m, &problem)) << c.why;
    EXPECT_TRUE(m.entries.empty()) << c.why;
  }
}

// A file's record, "<sha256> <size>", in the manifest's spelling of both fields.
TEST(DiskManifest, ARecordGivesTheBytesInTheManifestsSpelling) {
  std::uint64_t size = 0;
  unsigned char digest[kSha256Size] = {};
  ASSERT_TRUE(ParseRecordedBytes(kAbc + " 5120", &size, digest));
  EXPECT_EQ(size, 5120u);
  EXPECT_EQ(Sha256Text(digest), kAbc);
  for (const std::string& bad : {kAbc, kAbc + " ", kAbc + "\t5120", kAbc + " 5120 x",
                                 kAbc.substr(1) + " 5120", std::string(64, 'A') + " 5120",
                                 kAbc + " 99999999999999999999"}) {
    EXPECT_FALSE(ParseRecordedBytes(bad, &size, digest)) << bad;
  }
}

TEST(DiskManifest, ALandedFileIsMatchedWithWhatItExpandsTo) {
  const std::string text = std::string(kManifestHeader) + "\nd.SY_\t40\t" +
                           std::string(64, '0') + "\t3\t" + kAbc + "\n";
  DiskManifest m;
  std::string problem;
  ASSERT_TRUE(ParseManifest(text.data(), text.size(), &m, &problem));
  unsigned char abc[kSha256Size];
  Sha256 sha;
  sha.Update("abc", 3);
  sha.Finish(abc);
  EXPECT_EQ(MatchManifest(m, "d.sy_", 3, abc, true), ManifestMatch::kMatches);
  EXPECT_EQ(MatchManifest(m, "d.sy_", 3, abc, false), ManifestMatch::kDiffers);
  EXPECT_EQ(MatchManifest(m, "d.sy_", 4, abc, true), ManifestMatch::kDiffers);
  EXPECT_EQ(MatchManifest(m, "other.sys", 3, abc, true), ManifestMatch::kUnlisted);
}

TEST(DiskManifest, EachVerdictFollowsTheRulesOfItsDisk) {
  using A = ManifestAction;
  const struct {
    ManifestMatch match;
    bool diskSigned, inf, besideProgram;
    A action;
    const char* logged;
  } cases[] = {
      {ManifestMatch::kMatches, true, false, true, A::kAccept, "Matches the disk's manifest: D:\\f"},
      {ManifestMatch::kUnlisted, true, false, true, A::kRefuse, "manifest does not list it"},
      {ManifestMatch::kUnlisted, false, false, true, A::kAccept, "a file added to the disk): D:\\f"},
      {ManifestMatch::kDiffers, true, false, true, A::kRefuse, "the disk has been changed"},
      {ManifestMatch::kDiffers, false, false, true, A::kRetry, "is damaged"},
      {ManifestMatch::kDiffers, true, true, true, A::kRefuse, "the disk has been changed"},
      {ManifestMatch::kDiffers, true, true, false, A::kRefuse,
       "in the folder setup was started from differs from the installation disk's own"},
      {ManifestMatch::kDiffers, false, true, false, A::kAccept, "an edited setup information file"},
      {ManifestMatch::kUnlisted, false, true, true, A::kAccept, "a file added to the disk"},
  };
  for (const auto& c : cases) {
    const ManifestDecision d = DecideManifest("D:\\f", c.match, c.diskSigned, c.inf, c.besideProgram);
    EXPECT_EQ(d.action, c.action) << c.logged;
    EXPECT_NE(d.line.find(c.logged), std::string::npos) << d.line;
    EXPECT_NE(d.line.find("D:\\f"), std::string::npos) << "names the file: " << d.line;
  }
}

// A PE32 image of two sections whose import table, in the second, names libs.
std::string ImageImporting(const std::vector<std::string>& libs, std::uint32_t tableRva) {
  std::string b(0x800, '\0');
  auto put = [&b](std::size_t at, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  b[0] = 'M';
  b[1] = 'Z';
  put(0x3C, 0x80, 4);
  std::memcpy(&b[0x80], "PE\0\0", 4);
  put(0x84, 0x14C, 2);
  put(0x86, 2, 2);         // sections
  put(0x80 + 20, 0xE0, 2);  // optional header size
  put(0x98, 0x10B, 2);
  put(0x98 + 92, 16, 4);              // data directories
  put(0x98 + 96 + 8, tableRva, 4);    // the import table
  const std::size_t sections = 0x98 + 0xE0;
  put(sections + 12, 0x1000, 4);  // .text: 0x1000.., raw at 0x200
  put(sections + 16, 0x200, 4);
  put(sections + 20, 0x200, 4);
  put(sections + 40 + 12, 0x2000, 4);  // .idata: 0x2000.., raw at 0x400
  put(sections + 40 + 16, 0x400, 4);
  put(sections + 40 + 20, 0x400, 4);
  std::size_t name = 0x600;
  for (std::size_t i = 0; i < libs.size(); ++i) {
    put(0x400 + 20 * i + 12, static_cast<std::uint32_t>(0x2000 + name - 0x400), 4);
    std::memcpy(&b[name], libs[i].c_str(), libs[i].size() + 1);
    name += libs[i].size() + 1;
  }
  return b;
}

TEST(ImageImports, NamesTheLibrariesInTheTablesOrder) {
  std::vector<std::string> names;
  const std::string image = ImageImporting({"MSCOMSTF.dll", "KERNEL32.dll"}, 0x2000);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(image.data());
  ASSERT_TRUE(ImportedLibraries(bytes, image.size(), &names));
  EXPECT_EQ(names, (std::vector<std::string>{"MSCOMSTF.dll", "KERNEL32.dll"}));
  // A table outside every section, or a file cut short, is no answer.
  const std::string astray = ImageImporting({"MSCOMSTF.dll"}, 0x9000);
  EXPECT_FALSE(ImportedLibraries(reinterpret_cast<const std::uint8_t*>(astray.data()),
                                 astray.size(), &names));
  EXPECT_FALSE(ImportedLibraries(bytes, 0x500, &names));
}

}  // namespace
}  // namespace stf
