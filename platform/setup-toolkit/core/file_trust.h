// Whether setup may install or load a file of its disk, from what Windows'
// signature check (WinVerifyTrust) answered for it. Only a signature that is
// present but does not match the file's content (a changed disk, a damaged
// download) or whose signer was revoked refuses the file; a signature whose
// root Windows does not trust (a vendor's test certificate) is logged; an
// unsigned file, or one Windows gives an answer not listed here for, is
// refused only on a disk whose setup program is signed, where it can only be
// a changed file.
#pragma once

#include <string>

namespace stf {

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
