// What a file of the disk may be, from WinVerifyTrust's answer: refused only
// when its signature is present and broken (or its signer revoked), or when
// it lacks one, or gets an answer nobody knows, on a disk whose setup program
// is signed.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace stf
