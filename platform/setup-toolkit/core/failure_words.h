// What a person is told about a failure. The toolkit records the cause as it
// happens (what was being done, to which file, the system's error) and the
// error dialogs turn it into plain words here: what failed and why, and what
// the person can do about it when that follows from the cause.
#pragma once

#include <string>

#include "ansi_text.h"

namespace stf {

// The operations a cause can name besides a Win32 call.
extern const char kOperationRead[];   // "read": a file of the installation disk
extern const char kOperationWrite[];  // "write": a file being installed
// "verify": a file of the disk refused by its signature; the record's text
// says why in plain words, its code is WinVerifyTrust's answer.
extern const char kOperationVerify[];

struct FailureCause {
  // kOperationRead, kOperationWrite, the Win32 call that failed
  // ("CreateServiceA", "ControlService (stop)"), or empty when only the
  // record's text is known.
  std::string operation;
  std::string file;        // the file, folder, service or key it was done to
  std::string text;        // the log record, without "Error: " and the code
  unsigned long code = 0;  // the Win32 error; 0 when none is known
  std::string codeText;    // the system's text for code
};

struct FailureWords {
  std::string what;    // what failed, and the system's reason
  std::string advice;  // what to do; empty when nothing follows from the cause
};

FailureWords DescribeFailure(const FailureCause& cause, LeadBytePredicate isLead);

}  // namespace stf
