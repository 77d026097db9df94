#include "file_version.h"

#include <vector>

namespace stf {
namespace {

constexpr std::uint32_t kFixedInfoSignature = 0xFEEF04BD;
constexpr std::uint32_t kResourceTypeVersion = 16;  // RT_VERSION
constexpr std::uint32_t kSubdirectoryBit = 0x80000000u;
// Bounds on what a damaged image can make us read.
constexpr std::uint32_t kMaxHeaderOffset = 64 * 1024 * 1024;
constexpr std::uint32_t kMaxSections = 96;
constexpr std::uint32_t kMaxDirectoryEntries = 4096;

std::uint32_t Le16(const unsigned char* p) { return p[0] | (p[1] << 8); }
std::uint32_t Le32(const unsigned char* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

struct Section {
  std::uint32_t address, size, fileOffset;
};

// Reads exactly size bytes; a short read is a damaged image, not an error.
class ImageReader {
 public:
  ImageReader(const ReadAt& read, unsigned long* error) : read_(read), error_(error) {}

  bool Get(std::uint64_t offset, std::size_t size, std::vector<unsigned char>* out) {
    out->resize(size);
    std::size_t got = 0;
    *error_ = read_(offset, out->data(), size, &got);
    if (*error_ != 0) failed_ = true;
    return *error_ == 0 && got == size;
  }
  bool Failed() const { return failed_; }

  // The file offset of an address inside the image, through the section table.
  bool Map(std::uint32_t address, std::uint32_t* offset) const {
    for (const Section& s : sections_) {
      if (address >= s.address && address - s.address < s.size) {
        *offset = s.fileOffset + (address - s.address);
        return true;
      }
    }
    return false;
  }
  std::vector<Section>& sections() { return sections_; }

 private:
  const ReadAt& read_;
  unsigned long* error_;
  bool failed_ = false;
  std::vector<Section> sections_;
};

// The resource directory's address, with the section table loaded.
bool ReadHeaders(ImageReader* image, std::uint32_t* resources) {
  std::vector<unsigned char> b;
  if (!image->Get(0, 64, &b) || b[0] != 'M' || b[1] != 'Z') return false;
  const std::uint32_t pe = Le32(&b[0x3C]);
  if (pe > kMaxHeaderOffset || !image->Get(pe, 24 + 2, &b)) return false;
  if (b[0] != 'P' || b[1] != 'E' || b[2] != 0 || b[3] != 0) return false;
  const std::uint32_t sectionCount = Le16(&b[6]);
  const std::uint32_t optionalSize = Le16(&b[20]);
  const std::uint32_t magic = Le16(&b[24]);
  // Data directory 2 (resources) of a PE32 or PE32+ optional header.
  const std::uint32_t directories = magic == 0x10B ? 96 : magic == 0x20B ? 112 : 0;
  if (directories == 0 || optionalSize < directories + 3 * 8 || sectionCount > kMaxSections) {
    return false;
  }
  if (!image->Get(pe + 24, optionalSize, &b)) return false;
  if (Le32(&b[directories - 4]) < 3) return false;  // NumberOfRvaAndSizes
  *resources = Le32(&b[directories + 2 * 8]);
  if (*resources == 0) return false;
  if (!image->Get(pe + 24 + optionalSize, sectionCount * 40, &b)) return false;
  for (std::uint32_t i = 0; i < sectionCount; ++i) {
    const unsigned char* s = &b[i * 40];
    const std::uint32_t virtualSize = Le32(s + 8), rawSize = Le32(s + 16);
    image->sections().push_back(
        {Le32(s + 12), virtualSize > rawSize ? virtualSize : rawSize, Le32(s + 20)});
  }
  return true;
}

// One level of the resource tree: the entry with this id, or the first entry
// when id is 0. *next is the entry's OffsetToData.
bool FindEntry(ImageReader* image, std::uint32_t root, std::uint32_t directory, std::uint32_t id,
               std::uint32_t* next) {
  std::uint32_t offset = 0;
  std::vector<unsigned char> b;
  if (!image->Map(root + directory, &offset) || !image->Get(offset, 16, &b)) return false;
  const std::uint32_t named = Le16(&b[12]), ids = Le16(&b[14]);
  if (named + ids == 0 || named + ids > kMaxDirectoryEntries) return false;
  if (!image->Get(offset + 16, (named + ids) * 8, &b)) return false;
  for (std::uint32_t i = id == 0 ? 0 : named; i < named + ids; ++i) {
    if (id == 0 || Le32(&b[i * 8]) == id) {
      *next = Le32(&b[i * 8 + 4]);
      return true;
    }
  }
  return false;
}

}  // namespace

bool ParseVersionText(const std::string& text, FileVersion* out) {
  FileVersion version;
  int part = 0;
  std::uint32_t value = 0;
  bool digits = false;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    const char c = i < text.size() ? text[i] : '.';
    if (c >= '0' && c <= '9') {
      value = value * 10 + static_cast<std::uint32_t>(c - '0');
      if (value > 65535) return false;
      digits = true;
    } else if (c == '.' && digits && part < 4) {
      version.part[part++] = static_cast<std::uint16_t>(value);
      value = 0;
      digits = false;
    } else {
      return false;
    }
  }
  *out = version;
  return true;
}

std::string VersionText(const FileVersion& v) {
  return std::to_string(v.part[0]) + "." + std::to_string(v.part[1]) + "." +
         std::to_string(v.part[2]) + "." + std::to_string(v.part[3]);
}

int CompareVersions(const FileVersion& a, const FileVersion& b) {
  for (int i = 0; i < 4; ++i) {
    if (a.part[i] != b.part[i]) return a.part[i] < b.part[i] ? -1 : 1;
  }
  return 0;
}

VersionLookup ReadImageVersion(const ReadAt& read, FileVersion* out, unsigned long* error) {
  *error = 0;
  ImageReader image(read, error);
  std::uint32_t root = 0, type = 0, name = 0, language = 0, data = 0;
  const bool found = ReadHeaders(&image, &root) &&
                     FindEntry(&image, root, 0, kResourceTypeVersion, &type) &&
                     (type & kSubdirectoryBit) &&
                     FindEntry(&image, root, type & ~kSubdirectoryBit, 0, &name) &&
                     (name & kSubdirectoryBit) &&
                     FindEntry(&image, root, name & ~kSubdirectoryBit, 0, &language) &&
                     !(language & kSubdirectoryBit) && image.Map(root + language, &data);
  std::vector<unsigned char> b;
  std::uint32_t at = 0;
  if (found && image.Get(data, 16, &b) && image.Map(Le32(&b[0]), &at) && Le32(&b[4]) >= 92 &&
      image.Get(at, 92, &b)) {
    // VS_VERSIONINFO: three words, the key "VS_VERSION_INFO", then the
    // fixed information on a 32-bit boundary.
    for (std::size_t i = 8; i + 16 <= b.size(); i += 4) {
      if (Le32(&b[i]) != kFixedInfoSignature) continue;
      const std::uint32_t ms = Le32(&b[i + 8]), ls = Le32(&b[i + 12]);
      out->part[0] = static_cast<std::uint16_t>(ms >> 16);
      out->part[1] = static_cast<std::uint16_t>(ms);
      out->part[2] = static_cast<std::uint16_t>(ls >> 16);
      out->part[3] = static_cast<std::uint16_t>(ls);
      return VersionLookup::kFound;
    }
  }
  return image.Failed() ? VersionLookup::kReadError : VersionLookup::kNone;
}

}  // namespace stf
