// What kind of Windows image a file is, from its PE header: the machine it
// is built for, its subsystem (a kernel-mode driver's is native) and its
// characteristics. A compressed file (packed_file.h) is read expanded.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "packed_file.h"

namespace stf {

constexpr std::uint16_t kSubsystemNative = 1;
constexpr std::uint16_t kImageExecutable = 0x0002;
constexpr std::uint16_t kImageDll = 0x2000;

// Whether an image's header lists a certificate table (an embedded
// signature). kUnknown when the header is cut short or holds no such entry.
enum class CertificateTable { kUnknown, kAbsent, kPresent };

struct ImageKind {
  bool image = false;  // a whole PE header was found; the rest is 0 otherwise
  std::uint16_t machine = 0;
  std::uint16_t subsystem = 0;
  std::uint16_t characteristics = 0;
  CertificateTable certificates = CertificateTable::kUnknown;
  Packing packing = Packing::kPlain;
};

// The kind of the image in a file's first bytes.
ImageKind ImageKindOf(const std::uint8_t* head, std::size_t size);
// The same for a file, expanded first when compressed. A read failure is
// its error; a compressed file that cannot be expanded is kErrorFileCorrupt
// with *problem saying why.
SysError ReadImageKind(const ReadAt& read, ImageKind* out, std::string* problem);

// The libraries a PE32 image imports statically, in its table's order, from
// the whole file; false when the table cannot be read within it.
bool ImportedLibraries(const std::uint8_t* file, std::size_t size, std::vector<std::string>* names);

}  // namespace stf
