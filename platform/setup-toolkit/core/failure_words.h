// What a person is told about a failure. The toolkit records the cause as it
// happens (what was being done, to which file, the system's error) and the
// decision is made here: which sentences tell what failed and why, and what
// the person can do about it when that follows from the cause. The sentences
// are ids of the language files with their inserts; the dialog library words
// them in the chosen language, the English here is the log's and the model
// of en.rc.
#pragma once

#include <string>

#include "ansi_text.h"
#include "failure_text_ids.h"

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
  // A record that a program words itself (a refusal box): its text's id in
  // the language files and the inserts for %1 to %3; 0 when it has none.
  unsigned textId = 0;
  std::string textInserts[3];
};

// One sentence: a text id (failure_text_ids.h; 0: none) and what fills its
// %1 to %3 (names and the system's text, in the ANSI code page).
struct FailureSentence {
  unsigned id = 0;
  std::string inserts[3];
};

struct FailureDecision {
  FailureSentence what;    // what failed
  FailureSentence reason;  // the system's reason; id 0 when no code is known
  FailureSentence advice;  // id 0 when nothing follows from the cause
};

FailureDecision DecideFailure(const FailureCause& cause, LeadBytePredicate isLead);

// The English form of a sentence id ("Setup could not read the file %1."),
// null for an id that is not a failure's; and a form with its inserts filled
// (each %1 to %3 once, in one pass: an insert that holds "%2" stays as it is).
const char* FailureEnglishForm(unsigned id);
std::string FillSentence(const std::string& form, const FailureSentence& sentence);

// The decision in English, what and reason as one paragraph.
struct FailureWords {
  std::string what;    // what failed, and the system's reason
  std::string advice;  // what to do; empty when nothing follows from the cause
};

FailureWords DescribeFailure(const FailureCause& cause, LeadBytePredicate isLead);

}  // namespace stf
