#include "failure_words.h"

#include "copy_host.h"
#include "copy_plan.h"
#include "packed_file.h"

namespace stf {

const char kOperationRead[] = "read";
const char kOperationWrite[] = "write";
const char kOperationVerify[] = "verify";

namespace {

constexpr SysError kErrorWriteProtect = 19;
constexpr SysError kErrorNotReady = 21;
constexpr SysError kErrorCrc = 23;
constexpr SysError kErrorReadFault = 30;
constexpr SysError kErrorLockViolation = 33;
constexpr SysError kErrorIoDevice = 1117;
constexpr SysError kErrorPrivilegeNotHeld = 1314;

// The calls whose failures the toolkit and the programs record, and the
// sentence that says each in plain words.
struct Phrase {
  const char* operation;
  unsigned id;
};

const Phrase kPhrases[] = {
    {kOperationRead, IDS_FAIL_READ},
    {kOperationWrite, IDS_FAIL_WRITE},
    {"GetFileAttributesA", IDS_FAIL_FIND},
    {"CreateDirectoryA", IDS_FAIL_CREATE_FOLDER},
    {"CopyFileA", IDS_FAIL_COPY},
    {"DeleteFileA", IDS_FAIL_DELETE},
    {"MoveFileExA (delete at boot)", IDS_FAIL_DELETE_AT_BOOT},
    {"OpenSCManagerA", IDS_FAIL_OPEN_SCM},
    {"CreateServiceA", IDS_FAIL_CREATE_SERVICE},
    {"OpenServiceA", IDS_FAIL_OPEN_SERVICE},
    {"QueryServiceConfigA", IDS_FAIL_QUERY_CONFIG},
    {"ChangeServiceConfigA (start type: system)", IDS_FAIL_SET_START},
    {"ControlService (stop)", IDS_FAIL_STOP_SERVICE},
    {"QueryServiceStatus", IDS_FAIL_QUERY_STATUS},
    {"DeleteService", IDS_FAIL_DELETE_SERVICE},
    {"RegDeleteKeyA", IDS_FAIL_DELETE_KEY},
};

// The English of every sentence: the log's words, and en.rc's (a host test
// holds the two together).
struct EnglishForm {
  unsigned id;
  const char* form;
};

const EnglishForm kEnglish[] = {
    {IDS_FAIL_READ, "Setup could not read the file %1."},
    {IDS_FAIL_WRITE, "Setup could not install the file %1."},
    {IDS_FAIL_WRITE_FOLDER, "Setup could not write to the folder %1."},
    {IDS_FAIL_FIND, "Setup could not find the file %1."},
    {IDS_FAIL_CREATE_FOLDER, "Setup could not create the folder %1."},
    {IDS_FAIL_COPY, "Setup could not copy the file %1."},
    {IDS_FAIL_DELETE, "Setup could not delete the file %1."},
    {IDS_FAIL_DELETE_AT_BOOT, "Setup could not mark %1 for deletion when Windows restarts."},
    {IDS_FAIL_OPEN_SCM, "Setup could not open the service control manager."},
    {IDS_FAIL_CREATE_SERVICE, "Setup could not register the service %1."},
    {IDS_FAIL_OPEN_SERVICE, "Setup could not open the service %1."},
    {IDS_FAIL_QUERY_CONFIG, "Setup could not read the settings of the service %1."},
    {IDS_FAIL_SET_START, "Setup could not set the service %1 to start with Windows."},
    {IDS_FAIL_STOP_SERVICE, "Setup could not stop the service %1."},
    {IDS_FAIL_QUERY_STATUS, "Setup could not read the state of the service %1."},
    {IDS_FAIL_DELETE_SERVICE, "Setup could not delete the service %1."},
    {IDS_FAIL_DELETE_KEY, "Setup could not delete the registry key %1."},
    {IDS_FAIL_OTHER, "Setup could not complete the operation %1."},
    {IDS_FAIL_RECORDED, "%1"},
    {IDS_FAIL_REASON, "Windows reports: %1 (error %2)."},
    {IDS_FAIL_REASON_CODE, "Windows reports error %1."},
    {IDS_ADVICE_DISK_FOR,
     "Insert the installation disk that holds %1, or start Setup from a folder that holds all of "
     "the disk's files, then try again."},
    {IDS_ADVICE_DISK, "Insert the installation disk into its drive, then try again."},
    {IDS_ADVICE_DAMAGED,
     "The installation disk may be damaged. Clean it, or use another copy of it, then try again."},
    {IDS_ADVICE_SPACE, "Free some disk space, then try again."},
    {IDS_ADVICE_SPACE_DRIVE, "Free some space on drive %1:, then try again."},
    {IDS_ADVICE_SPACE_SHARE, "Free some space on %1, then try again."},
    {IDS_ADVICE_WRITE_PROTECT, "Remove the write protection from the disk, then try again."},
    {IDS_ADVICE_ADMIN,
     "Log on as an administrator, or start the program with Run as administrator, then try "
     "again."},
    {IDS_ADVICE_CLOSE, "Close the programs that use %1, then try again."},
    {IDS_ADVICE_SIGNATURE,
     "Setup has changed nothing on this computer. Use an undamaged copy of the installation "
     "disk, as its publisher made it, then try again."},
};

// The text without the full stop and blanks at its end (system texts end in
// a line break): the sentence around it puts its own.
std::string Bare(std::string text) {
  while (!text.empty() && std::string(" .\r\n\t").find(text.back()) != std::string::npos) {
    text.pop_back();
  }
  return text;
}

FailureSentence Say(unsigned id, const std::string& first = "", const std::string& second = "") {
  FailureSentence sentence;
  sentence.id = id;
  sentence.inserts[0] = first;
  sentence.inserts[1] = second;
  return sentence;
}

FailureSentence WhatFailed(const FailureCause& cause, LeadBytePredicate isLead) {
  if (cause.operation.empty() && cause.textId != 0) {
    FailureSentence own;
    own.id = cause.textId;
    for (int i = 0; i < 3; ++i) own.inserts[i] = cause.textInserts[i];
    return own;
  }
  if (cause.operation.empty()) return Say(IDS_FAIL_RECORDED, Bare(cause.text) + ".");
  // A path that ends in a backslash names a folder.
  if (cause.operation == kOperationWrite && EndsWithBackslash(cause.file, isLead)) {
    return Say(IDS_FAIL_WRITE_FOLDER, cause.file);
  }
  for (const Phrase& phrase : kPhrases) {
    if (cause.operation == phrase.operation) return Say(phrase.id, cause.file);
  }
  const std::string object = cause.file.empty() ? "" : " " + cause.file;
  return Say(IDS_FAIL_OTHER, Bare(cause.operation + object));
}

FailureSentence Reason(const FailureCause& cause) {
  if (cause.code == 0) return FailureSentence();
  const std::string code = std::to_string(cause.code);
  const std::string reason = Bare(cause.codeText);
  if (reason.empty()) return Say(IDS_FAIL_REASON_CODE, code);
  return Say(IDS_FAIL_REASON, reason, code);
}

std::string FileName(const FailureCause& cause, LeadBytePredicate isLead) {
  std::string dir, name;
  SplitPath(cause.file, isLead, &dir, &name);
  return name.empty() ? cause.file : name;
}

FailureSentence DiskFullAdvice(const FailureCause& cause, LeadBytePredicate isLead) {
  const std::string drive = DriveOfPath(cause.file, isLead);
  if (drive.empty()) return Say(IDS_ADVICE_SPACE);
  return Say(drive.size() == 1 ? IDS_ADVICE_SPACE_DRIVE : IDS_ADVICE_SPACE_SHARE, drive);
}

FailureSentence Advice(const FailureCause& cause, LeadBytePredicate isLead) {
  const SysError code = cause.code;
  const bool reading = cause.operation == kOperationRead;
  if (reading && IsMissing(code)) return Say(IDS_ADVICE_DISK_FOR, FileName(cause, isLead));
  if (code == kErrorNotReady) return Say(IDS_ADVICE_DISK);
  if (reading && (code == kErrorCrc || code == kErrorReadFault || code == kErrorIoDevice ||
                  code == kErrorFileCorrupt)) {
    return Say(IDS_ADVICE_DAMAGED);
  }
  if (IsDiskFull(code)) return DiskFullAdvice(cause, isLead);
  if (code == kErrorWriteProtect) return Say(IDS_ADVICE_WRITE_PROTECT);
  if (!reading && (code == kErrorAccessDenied || code == kErrorPrivilegeNotHeld)) {
    return Say(IDS_ADVICE_ADMIN);
  }
  if (cause.operation == kOperationWrite &&
      (code == kErrorSharingViolation || code == kErrorLockViolation)) {
    return Say(IDS_ADVICE_CLOSE, FileName(cause, isLead));
  }
  return FailureSentence();
}

std::string English(const FailureSentence& sentence) {
  const char* form = FailureEnglishForm(sentence.id);
  return form != nullptr ? FillSentence(form, sentence) : std::string();
}

}  // namespace

FailureDecision DecideFailure(const FailureCause& cause, LeadBytePredicate isLead) {
  FailureDecision decision;
  if (cause.operation.empty() && cause.text.empty()) return decision;
  if (cause.operation == kOperationVerify) {
    decision.what = Say(IDS_FAIL_RECORDED, Bare(cause.text) + ".");
    decision.advice = Say(IDS_ADVICE_SIGNATURE);
    return decision;
  }
  decision.what = WhatFailed(cause, isLead);
  decision.reason = Reason(cause);
  decision.advice = Advice(cause, isLead);
  return decision;
}

const char* FailureEnglishForm(unsigned id) {
  for (const EnglishForm& english : kEnglish) {
    if (english.id == id) return english.form;
  }
  return nullptr;
}

std::string FillSentence(const std::string& form, const FailureSentence& sentence) {
  std::string text;
  for (std::size_t i = 0; i < form.size(); ++i) {
    if (form[i] == '%' && i + 1 < form.size() && form[i + 1] >= '1' && form[i + 1] <= '3') {
      text += sentence.inserts[form[i + 1] - '1'];
      ++i;
    } else {
      text += form[i];
    }
  }
  return text;
}

FailureWords DescribeFailure(const FailureCause& cause, LeadBytePredicate isLead) {
  const FailureDecision decision = DecideFailure(cause, isLead);
  FailureWords words;
  // A program's own record is worded in English by the program.
  words.what = cause.textId != 0 && cause.operation.empty() ? Bare(cause.text) + "."
                                                           : English(decision.what);
  const std::string reason = English(decision.reason);
  if (!reason.empty()) words.what += " " + reason;
  words.advice = English(decision.advice);
  return words;
}

}  // namespace stf
