// What a file of the disk may be, from WinVerifyTrust's answer: refused only
// when its signature is present and broken (or its signer revoked), or when
// it lacks one, or gets an answer nobody knows, on a disk whose setup program
// is signed.
#include <gtest/gtest.h>

#include <cstring>

#include "failure_words.h"
#include "file_trust.h"

namespace stf {
namespace {

struct Case {
  unsigned long code;
  bool refusedOnUnsignedDisk;
  bool refusedOnSignedDisk;
  const char* logged;  // a part of the log line
};

TEST(FileTrust, OnlyABrokenSignatureOrAMissingOneOnASignedDiskRefuses) {
  const Case cases[] = {
      {0x00000000, false, false, "Signature verified: D:\\x.sys"},
      {0x800B0109, false, false, "not trusted on this computer (0x800B0109): D:\\x.sys"},  // a test root
      {0x800B010D, false, false, "not trusted"},
      {0x800B0101, false, false, "not trusted"},  // expired and not timestamped
      {0x800B0100, false, true, "not signed"},
      {0x800B0003, false, false, "Carries no signature"},  // a compressed file, an INF
      {0x80096010, true, true, "The file D:\\x.sys does not match its signature"},
      {0x80091007, true, true, "does not match its signature"},
      {0x800B010C, true, true, "revoked or is distrusted (0x800B010C)"},
      {0x800B0111, true, true, "revoked or is distrusted"},
      // Answers the table does not name: logged on an unsigned disk, refused on a signed one.
      {0x800B0001, false, true, "could not be checked"},  // no Authenticode provider
      {0x80093102, false, true, "a code setup does not know (0x80093102)"},  // a junk certificate table
      {0x80070002, false, true, "could not be checked"},
  };
  for (const Case& c : cases) {
    const TrustDecision unsignedDisk = DecideTrust("D:\\x.sys", c.code, false);
    const TrustDecision signedDisk = DecideTrust("D:\\x.sys", c.code, true);
    EXPECT_EQ(unsignedDisk.refuse, c.refusedOnUnsignedDisk) << TrustCodeText(c.code);
    EXPECT_EQ(signedDisk.refuse, c.refusedOnSignedDisk) << TrustCodeText(c.code);
    EXPECT_NE(signedDisk.line.find(c.logged) == std::string::npos ? unsignedDisk.line.find(c.logged)
                                                                   : 0,
              std::string::npos)
        << TrustCodeText(c.code) << ": " << signedDisk.line;
  }
}

TEST(FileTrust, TheRefusalReachesThePersonInPlainWords) {
  FailureCause cause;
  cause.operation = kOperationVerify;
  cause.file = "D:\\mlxidecd.SYS";
  cause.text = DecideTrust(cause.file, 0x80096010, true).line;
  cause.code = 577;
  const FailureWords words = DescribeFailure(cause, nullptr);
  EXPECT_EQ(words.what,
            "The file D:\\mlxidecd.SYS does not match its signature: it has been changed or "
            "damaged since it was signed (0x80096010).");
  EXPECT_NE(words.advice.find("Setup has changed nothing"), std::string::npos);
}

// A PE32 header at 0x80 with sixteen data directories, the certificate
// table's entry at (address, size).
std::string Image(std::uint32_t address, std::uint32_t size) {
  std::string b(0x400, '\0');
  const std::size_t optional = 0x80 + 24, entry = optional + 96 + 4 * 8;
  auto put32 = [&b](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  std::memcpy(&b[0], "MZ", 2);
  b[0x3C] = '\x80';
  std::memcpy(&b[0x80], "PE\0\0", 4);
  b[0x80 + 20] = static_cast<char>(96 + 16 * 8);
  b[optional] = 0x0B;
  b[optional + 1] = 0x01;
  put32(optional + 92, 16);
  put32(entry, address);
  put32(entry + 4, size);
  return b;
}

// Windows' signature check is asked only of what can carry a signature; the
// rest gets the answer Windows would give without reading it.
TEST(FileTrust, AsksForASignatureOnlyOfKindsThatCanCarryOne) {
  const std::string catalog("\x30\x82\x1f\x00\x06\x09\x2A\x86\x48\x86\xF7\x0D\x01\x07\x02\xA0", 16);
  const std::string indefinite("\x30\x80\x06\x09\x2A\x86\x48\x86\xF7\x0D\x01\x07\x02", 13);
  const std::string otherDer("\x30\x82\x1f\x00\x06\x09\x2A\x86\x48\x86\xF7\x0D\x01\x07\x01", 15);
  const struct {
    const char* name;
    std::string head;
    bool ask;
    unsigned long answer;
  } cases[] = {
      {"signed image", Image(0x2000, 0x1A8), true, 0},
      {"image without a table", Image(0, 0), false, kTrustNoSignature},
      {"image header cut short", Image(0x2000, 0x1A8).substr(0, 0x100), true, 0},
      {"MZ and nothing more", "MZ", true, 0},
      {"cabinet", std::string("MSCF\0\0\0\0", 8), true, 0},
      {"installer package", "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1 rest", true, 0},
      {"catalog", catalog, true, 0},
      {"signed data, indefinite length", indefinite, true, 0},
      {"other DER data", otherDer, false, kTrustNoSignatureForm},
      {"INF text", "[Version]\r\nSignature = \"$Windows NT$\"", false, kTrustNoSignatureForm},
      {"LZ-compressed file", "SZDD\x88\xF0\x27\x33" "A", false, kTrustNoSignatureForm},
      {"empty file", "", false, kTrustNoSignatureForm},
  };
  for (const auto& c : cases) {
    const SignatureCheck check =
        SignatureCheckOf(reinterpret_cast<const std::uint8_t*>(c.head.data()), c.head.size());
    EXPECT_EQ(check.ask, c.ask) << c.name;
    EXPECT_EQ(check.answer, c.answer) << c.name;
  }
}

}  // namespace
}  // namespace stf
