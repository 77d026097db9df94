// SHA-256 (FIPS 180-4), our own: the disk's manifest and the uninstall record
// need it on every Windows from NT 4.0, whose crypto providers have no SHA-2.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace stf {

constexpr std::size_t kSha256Size = 32;

// Fed in pieces of any size; Finish may be called once.
class Sha256 {
 public:
  Sha256();
  void Update(const void* data, std::size_t size);
  void Finish(unsigned char digest[kSha256Size]);

 private:
  void Blocks(const unsigned char* data, std::size_t count);
  void Block(const unsigned char* block);

  std::uint32_t state_[8];
  unsigned char pending_[64];
  std::size_t pendingSize_;
  std::uint64_t totalBytes_;
};

// Whether the processor's SHA instructions may be used: the processor has
// them (asked of it) and the system saves the registers they use, which
// only the system can say (Windows NT 4.0 does not): its side tells the core
// once, before it hashes; off until then. Returns whether they are used.
bool UseSha256Instructions(bool systemSavesSseState);

// The digest as 64 lower-case hexadecimal digits, as sha256sum prints it.
std::string Sha256Text(const unsigned char digest[kSha256Size]);
std::string Sha256TextOf(const void* data, std::size_t size);

}  // namespace stf
