#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "sha256.h"

namespace stf {
namespace {

// The test vectors of FIPS 180-4's examples and of NIST's short and long
// message sets, padding boundaries (55, 56, 63, 64 bytes) among them.
TEST(Sha256, AgreesWithPublishedVectors) {
  struct Case {
    std::string message;
    const char* digest;
  } cases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmnopqrs"
       "mnopqrstnopqrstu",
       "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
      {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
      {std::string(55, 'a'), "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
      {std::string(56, 'a'), "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a"},
      {std::string(63, 'a'), "7d3e74a05d7db15bce4ad9ec0658ea98e3f06eeecf16b4c6fff2da457ddc2f34"},
      {std::string(64, 'a'), "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Sha256TextOf(c.message.data(), c.message.size()), c.digest) << c.message.size();
    // The same bytes in uneven pieces, as a copy hands them over.
    for (std::size_t piece : {1u, 3u, 63u, 64u, 65u, 4096u}) {
      Sha256 hash;
      for (std::size_t at = 0; at < c.message.size(); at += piece) {
        hash.Update(c.message.data() + at, std::min(piece, c.message.size() - at));
      }
      unsigned char digest[kSha256Size];
      hash.Finish(digest);
      EXPECT_EQ(Sha256Text(digest), c.digest) << c.message.size() << " in pieces of " << piece;
    }
  }
}

// The processor's instructions, where the machine running the test has
// them, give the digest the plain rounds give, for every length about the
// block's edges and a long one.
TEST(Sha256, TheProcessorsInstructionsAgreeWithThePlainRounds) {
  std::string bytes(70000, '\0');
  unsigned seed = 7;
  for (char& c : bytes) c = static_cast<char>((seed = seed * 1103515245 + 12345) >> 16);
  const bool available = UseSha256Instructions(true);
  for (std::size_t size : {0u, 1u, 55u, 64u, 65u, 127u, 128u, 1000u, 70000u}) {
    UseSha256Instructions(false);
    const std::string plain = Sha256TextOf(bytes.data(), size);
    UseSha256Instructions(true);
    EXPECT_EQ(Sha256TextOf(bytes.data(), size), plain) << size;
  }
  UseSha256Instructions(false);
  if (!available) GTEST_SKIP() << "this processor has no SHA instructions";
}

}  // namespace
}  // namespace stf
