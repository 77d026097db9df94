// Fuzzes the core's SHA-256: any split of the input into pieces gives the
// digest of the whole, and nothing outside the input is read.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "sha256.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  unsigned char whole[stf::kSha256Size];
  stf::Sha256 once;
  once.Update(data, size);
  once.Finish(whole);

  // The first byte chooses the pieces' size, as a copy's reads differ.
  const std::size_t piece = size == 0 ? 1 : 1 + data[0] % 97;
  stf::Sha256 pieces;
  for (std::size_t at = 0; at < size; at += piece) pieces.Update(data + at, size - at < piece ? size - at : piece);
  unsigned char split[stf::kSha256Size];
  pieces.Finish(split);
  if (std::memcmp(whole, split, sizeof whole) != 0) std::abort();
  return 0;
}
