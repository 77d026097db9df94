#include "image_kind.h"

#include <vector>

namespace stf {
namespace {

constexpr std::size_t kDosHeaderSize = 0x40;
constexpr std::size_t kNewHeaderOffsetField = 0x3C;
constexpr std::size_t kFileHeaderSize = 24;  // "PE\0\0" and the file header
constexpr std::size_t kSubsystemField = 68;  // in the optional header, PE32 and PE32+ alike
// Every image the linkers make puts its PE header within its first page.
constexpr std::size_t kHeaderBytesRead = 4096;

// The optional header's magic, where its data directories start and the
// count before them, and the certificate table's place among them.
constexpr std::uint32_t kMagicPe32 = 0x10B;
constexpr std::uint32_t kMagicPe32Plus = 0x20B;
constexpr std::size_t kDirectoriesPe32 = 96;
constexpr std::size_t kDirectoriesPe32Plus = 112;
constexpr std::size_t kCertificateDirectory = 4;
constexpr std::size_t kDirectorySize = 8;
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::size_t kImportDescriptorSize = 20;

std::uint32_t Le16(const std::uint8_t* p) { return p[0] | (p[1] << 8); }
std::uint32_t Le32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// optional: the optional header, `length` bytes of it declared and `held` read.
CertificateTable CertificatesOf(const std::uint8_t* optional, std::size_t length,
                                std::size_t held) {
  const std::uint32_t magic = Le16(optional);
  if (magic != kMagicPe32 && magic != kMagicPe32Plus) return CertificateTable::kUnknown;
  const std::size_t directories = magic == kMagicPe32 ? kDirectoriesPe32 : kDirectoriesPe32Plus;
  const std::size_t entry = directories + kCertificateDirectory * kDirectorySize;
  if (entry + kDirectorySize > length || entry + kDirectorySize > held) {
    return CertificateTable::kUnknown;
  }
  if (Le32(optional + directories - 4) <= kCertificateDirectory) return CertificateTable::kUnknown;
  const bool empty = Le32(optional + entry) == 0 && Le32(optional + entry + 4) == 0;
  return empty ? CertificateTable::kAbsent : CertificateTable::kPresent;
}

}  // namespace

ImageKind ImageKindOf(const std::uint8_t* head, std::size_t size) {
  ImageKind kind;
  if (size < kDosHeaderSize || head[0] != 'M' || head[1] != 'Z') return kind;
  const std::uint32_t pe = Le32(head + kNewHeaderOffsetField);
  if (pe > size || size - pe < kFileHeaderSize + kSubsystemField + 2) return kind;
  const std::uint8_t* p = head + pe;
  if (p[0] != 'P' || p[1] != 'E' || p[2] != 0 || p[3] != 0) return kind;
  if (Le16(p + 20) < kSubsystemField + 2) return kind;  // the optional header is too short
  kind.image = true;
  kind.machine = static_cast<std::uint16_t>(Le16(p + 4));
  kind.characteristics = static_cast<std::uint16_t>(Le16(p + 22));
  kind.subsystem = static_cast<std::uint16_t>(Le16(p + kFileHeaderSize + kSubsystemField));
  kind.certificates = CertificatesOf(p + kFileHeaderSize, Le16(p + 20), size - pe - kFileHeaderSize);
  return kind;
}

SysError ReadImageKind(const ReadAt& read, ImageKind* out, std::string* problem) {
  *out = ImageKind();
  PackedFile file;
  if (SysError error = ProbePacking(read, &file, problem)) return error;
  const ReadAt image = file.packing == Packing::kPlain ? read : ExpandedReader(read, file);
  std::vector<std::uint8_t> head(kHeaderBytesRead);
  std::size_t got = 0;
  if (SysError error = image(0, head.data(), head.size(), &got)) {
    if (error == kErrorFileCorrupt) *problem = "its compressed data is damaged";
    return error;
  }
  *out = ImageKindOf(head.data(), got);
  out->packing = file.packing;
  return 0;
}

// An address in the loaded image as an offset in the file; false outside
// every section's data.
static bool FileOffsetOf(const std::uint8_t* file, std::size_t size, std::size_t sections,
                         std::size_t count, std::uint32_t rva, std::size_t* offset) {
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t at = sections + i * kSectionHeaderSize;
    if (at + kSectionHeaderSize > size) return false;
    const std::uint32_t address = Le32(file + at + 12), raw = Le32(file + at + 16);
    if (rva >= address && rva - address < raw) {
      const std::uint64_t off = static_cast<std::uint64_t>(Le32(file + at + 20)) + (rva - address);
      if (off >= size) return false;
      *offset = static_cast<std::size_t>(off);
      return true;
    }
  }
  return false;
}

bool ImportedLibraries(const std::uint8_t* file, std::size_t size, std::vector<std::string>* names) {
  names->clear();
  const ImageKind kind = ImageKindOf(file, size);
  if (!kind.image) return false;
  const std::size_t pe = Le32(file + kNewHeaderOffsetField);
  const std::size_t optional = pe + kFileHeaderSize;
  const std::size_t optionalSize = Le16(file + pe + 20);
  if (Le16(file + optional) != kMagicPe32 || optionalSize < kDirectoriesPe32 + 2 * kDirectorySize ||
      optional + optionalSize > size) {
    return false;
  }
  const std::uint32_t table = Le32(file + optional + kDirectoriesPe32 + kDirectorySize);
  if (table == 0) return true;
  const std::size_t sections = optional + optionalSize, count = Le16(file + pe + 6);
  std::size_t at = 0;
  if (!FileOffsetOf(file, size, sections, count, table, &at)) return false;
  for (;; at += kImportDescriptorSize) {
    if (at + kImportDescriptorSize > size) return false;
    const std::uint32_t name = Le32(file + at + 12);
    if (name == 0) return true;
    std::size_t text = 0;
    if (!FileOffsetOf(file, size, sections, count, name, &text)) return false;
    std::size_t end = text;
    while (end < size && file[end] != 0) ++end;
    if (end == size) return false;
    names->emplace_back(reinterpret_cast<const char*>(file + text), end - text);
  }
}

}  // namespace stf
