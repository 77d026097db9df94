// Whether setup may install or load a file of its disk, from what Windows'
// signature check (WinVerifyTrust) answered for it. Only a signature that is
// present but does not match the file's content (a changed disk, a damaged
// download) or whose signer was revoked refuses the file; a signature whose
// root Windows does not trust (a vendor's test certificate) is logged; an
// unsigned file, or one Windows gives an answer not listed here for, is
// refused only on a disk whose setup program is signed, where it can only be
// a changed file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace stf {

// WinVerifyTrust's answers that need no call: a program image whose header
// lists no certificate table (TRUST_E_NOSIGNATURE), and a kind of file that
// has no place for a signature (TRUST_E_SUBJECT_FORM_UNKNOWN).
constexpr unsigned long kTrustNoSignature = 0x800B0100ul;
constexpr unsigned long kTrustNoSignatureForm = 0x800B0003ul;

// Whether a file's first bytes show a kind that can carry a signature
// Windows' check reads: a program image that lists a certificate table (or
// whose header cannot be read whole), a catalog (PKCS #7 signed data), a
// cabinet, a compound file (an installer package). Any other file has no
// place for one, and the disk's manifest alone vouches for its bytes.
struct SignatureCheck {
  bool ask = false;           // WinVerifyTrust is to be called
  unsigned long answer = 0;   // what it would answer, when not called
};
SignatureCheck SignatureCheckOf(const std::uint8_t* head, std::size_t size);

enum class TrustVerdict {
  kVerified,         // signed, intact, trusted
  kUntrustedSigner,  // intact, but the certificate is not trusted here
  kNotSigned,        // a program file without a signature
  kNoSignatureForm,  // a kind of file that carries none (compressed, text)
  kChanged,          // the content does not match its signature
  kRevoked,          // the signer's certificate was revoked or is distrusted
  kUnchecked,        // Windows could not check it
};

// The answer of WinVerifyTrust (an HRESULT as its 32 bits).
TrustVerdict ClassifyTrustResult(unsigned long code);

struct TrustDecision {
  bool refuse = false;
  std::string line;  // for the log: the file, the verdict and the code
};

// diskSigned: the running setup program carries a signature.
TrustDecision DecideTrust(const std::string& file, unsigned long code, bool diskSigned);

// "0x80096010"
std::string TrustCodeText(unsigned long code);

}  // namespace stf
