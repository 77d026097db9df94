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

}  // namespace stf
