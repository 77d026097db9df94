#include "file_trust.h"

#include "image_kind.h"
#include "number_text.h"

namespace stf {
namespace {

struct KnownCode {
  unsigned long code;
  TrustVerdict verdict;
};

// WinVerifyTrust's answers (winerror.h); any other is kUnchecked.
const KnownCode kCodes[] = {
    {0x00000000, TrustVerdict::kVerified},
    {0x800B0100, TrustVerdict::kNotSigned},         // TRUST_E_NOSIGNATURE
    {0x800B0003, TrustVerdict::kNoSignatureForm},   // TRUST_E_SUBJECT_FORM_UNKNOWN
    {0x80096010, TrustVerdict::kChanged},           // TRUST_E_BAD_DIGEST
    {0x80091007, TrustVerdict::kChanged},           // CRYPT_E_HASH_VALUE
    {0x800B010C, TrustVerdict::kRevoked},           // CERT_E_REVOKED
    {0x80092010, TrustVerdict::kRevoked},           // CRYPT_E_REVOKED
    {0x800B0111, TrustVerdict::kRevoked},           // TRUST_E_EXPLICIT_DISTRUST
    {0x800B0109, TrustVerdict::kUntrustedSigner},   // CERT_E_UNTRUSTEDROOT
    {0x800B010A, TrustVerdict::kUntrustedSigner},   // CERT_E_CHAINING
    {0x800B010D, TrustVerdict::kUntrustedSigner},   // CERT_E_UNTRUSTEDTESTROOT
    {0x800B0112, TrustVerdict::kUntrustedSigner},   // CERT_E_UNTRUSTEDCA
    {0x800B0101, TrustVerdict::kUntrustedSigner},   // CERT_E_EXPIRED (no timestamp)
    {0x800B0110, TrustVerdict::kUntrustedSigner},   // CERT_E_WRONG_USAGE
    {0x800B0004, TrustVerdict::kUntrustedSigner},   // TRUST_E_SUBJECT_NOT_TRUSTED
    {0x80096004, TrustVerdict::kUntrustedSigner},   // TRUST_E_CERT_SIGNATURE
    {0x80096019, TrustVerdict::kUntrustedSigner},   // TRUST_E_BASIC_CONSTRAINTS
    {0x800B010E, TrustVerdict::kUntrustedSigner},   // CERT_E_REVOCATION_FAILURE
    {0x80092012, TrustVerdict::kUntrustedSigner},   // CRYPT_E_NO_REVOCATION_CHECK
    {0x80092013, TrustVerdict::kUntrustedSigner},   // CRYPT_E_REVOCATION_OFFLINE
};

bool StartsWith(const std::uint8_t* head, std::size_t size, const char* magic, std::size_t length) {
  if (size < length) return false;
  for (std::size_t i = 0; i < length; ++i) {
    if (head[i] != static_cast<std::uint8_t>(magic[i])) return false;
  }
  return true;
}

// A DER SEQUENCE whose content type, within its first bytes, is signed data
// (1.2.840.113549.1.7.2): a catalog, or a detached signature.
bool IsSignedData(const std::uint8_t* head, std::size_t size) {
  static const char kSignedDataOid[] = "\x06\x09\x2A\x86\x48\x86\xF7\x0D\x01\x07\x02";
  const std::size_t oid = sizeof kSignedDataOid - 1;
  if (size < 2 || head[0] != 0x30) return false;
  for (std::size_t at = 2; at < 8 && at + oid <= size; ++at) {
    if (StartsWith(head + at, size - at, kSignedDataOid, oid)) return true;
  }
  return false;
}

}  // namespace

SignatureCheck SignatureCheckOf(const std::uint8_t* head, std::size_t size) {
  SignatureCheck check;
  if (StartsWith(head, size, "MZ", 2)) {
    // An image without the table has no signature; anything else that starts
    // like one (a header cut short, a table that is not there) is asked.
    check.ask = ImageKindOf(head, size).certificates != CertificateTable::kAbsent;
    check.answer = check.ask ? 0 : kTrustNoSignature;
    return check;
  }
  check.ask = StartsWith(head, size, "MSCF", 4) ||
              StartsWith(head, size, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) ||
              IsSignedData(head, size);
  check.answer = check.ask ? 0 : kTrustNoSignatureForm;
  return check;
}

TrustVerdict ClassifyTrustResult(unsigned long code) {
  for (const KnownCode& known : kCodes) {
    if (known.code == (code & 0xFFFFFFFFul)) return known.verdict;
  }
  return TrustVerdict::kUnchecked;
}

std::string TrustCodeText(unsigned long code) {
  return "0x" + HexText(code & 0xFFFFFFFFul, 8, HexCase::kUpper);
}

TrustDecision DecideTrust(const std::string& file, unsigned long code, bool diskSigned) {
  TrustDecision d;
  const std::string codeText = " (" + TrustCodeText(code) + ")";
  const std::string at = codeText + ": " + file;
  const std::string theFile = "The file " + file + " ";
  switch (ClassifyTrustResult(code)) {
    case TrustVerdict::kVerified:
      d.line = "Signature verified: " + file;
      break;
    case TrustVerdict::kUntrustedSigner:
      d.line = "Signature intact, but its certificate is not trusted on this computer" + at;
      break;
    case TrustVerdict::kNotSigned:
      d.refuse = diskSigned;
      d.line = diskSigned ? theFile + "is not signed, although setup itself is: the disk has been "
                                      "changed" + codeText
                          : "Not signed: " + file;
      break;
    case TrustVerdict::kNoSignatureForm:
      d.line = "Carries no signature (not a program file): " + file;
      break;
    case TrustVerdict::kChanged:
      d.refuse = true;
      d.line = theFile + "does not match its signature: it has been changed or damaged since it "
                         "was signed" + codeText;
      break;
    case TrustVerdict::kRevoked:
      d.refuse = true;
      d.line = theFile + "is signed with a certificate that was revoked or is distrusted" + codeText;
      break;
    case TrustVerdict::kUnchecked:
      // An answer nobody has read is no answer: a signed disk refuses it.
      d.refuse = diskSigned;
      d.line = diskSigned ? theFile + "could not be checked: Windows answered its signature check "
                                     "with a code setup does not know" + codeText
                          : "Signature check skipped: Windows could not check the file" + at;
      break;
  }
  return d;
}

}  // namespace stf
