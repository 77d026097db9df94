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

// The calls whose failures the toolkit and the programs record, in plain
// words; %s stands for the file, service or key.
struct Phrase {
  const char* operation;
  const char* words;
};

const Phrase kPhrases[] = {
    {kOperationRead, "read the file %s"},
    {kOperationWrite, "install the file %s"},
    {"GetFileAttributesA", "find the file %s"},
    {"CreateDirectoryA", "create the folder %s"},
    {"CopyFileA", "copy the file %s"},
    {"DeleteFileA", "delete the file %s"},
    {"MoveFileExA (delete at boot)", "mark %s for deletion when Windows restarts"},
    {"OpenSCManagerA", "open the service control manager%s"},
    {"CreateServiceA", "register the service %s"},
    {"OpenServiceA", "open the service %s"},
    {"QueryServiceConfigA", "read the settings of the service %s"},
    {"ChangeServiceConfigA (start type: system)", "set the service %s to start with Windows"},
    {"ControlService (stop)", "stop the service %s"},
    {"QueryServiceStatus", "read the state of the service %s"},
    {"DeleteService", "delete the service %s"},
    {"RegDeleteKeyA", "delete the registry key %s"},
};

std::string Fill(const char* words, const std::string& file) {
  std::string text = words;
  const std::size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, file);
  return text;
}

// The text with one full stop at its end (system texts end in a line break).
std::string Sentence(std::string text) {
  while (!text.empty() && std::string(" .\r\n\t").find(text.back()) != std::string::npos) {
    text.pop_back();
  }
  return text + ".";
}

std::string WhatFailed(const FailureCause& cause, LeadBytePredicate isLead) {
  if (cause.operation.empty()) return Sentence(cause.text);
  // A path that ends in a backslash names a folder.
  if (cause.operation == kOperationWrite && EndsWithBackslash(cause.file, isLead)) {
    return Sentence("Setup could not write to the folder " + cause.file);
  }
  for (const Phrase& phrase : kPhrases) {
    if (cause.operation == phrase.operation) {
      return Sentence("Setup could not " + Fill(phrase.words, cause.file));
    }
  }
  const std::string object = cause.file.empty() ? "" : " " + cause.file;
  return Sentence("Setup could not complete the operation " + cause.operation + object);
}

std::string Reason(const FailureCause& cause) {
  if (cause.code == 0) return std::string();
  std::string reason = Sentence(cause.codeText);
  reason.pop_back();  // the code goes inside the sentence
  const std::string code = "error " + std::to_string(cause.code);
  if (reason.empty()) return " Windows reports " + code + ".";
  return " Windows reports: " + reason + " (" + code + ").";
}

std::string FileName(const FailureCause& cause, LeadBytePredicate isLead) {
  std::string dir, name;
  SplitPath(cause.file, isLead, &dir, &name);
  return name.empty() ? cause.file : name;
}

std::string DiskFullAdvice(const FailureCause& cause, LeadBytePredicate isLead) {
  const std::string drive = DriveOfPath(cause.file, isLead);
  if (drive.empty()) return "Free some disk space, then try again.";
  const std::string where = drive.size() == 1 ? "drive " + drive + ":" : drive;
  return "Free some space on " + where + ", then try again.";
}

std::string Advice(const FailureCause& cause, LeadBytePredicate isLead) {
  const SysError code = cause.code;
  const bool reading = cause.operation == kOperationRead;
  if (reading && IsMissing(code)) {
    return "Insert the installation disk that holds " + FileName(cause, isLead) +
           ", or start Setup from a folder that holds all of the disk's files, then try again.";
  }
  if (code == kErrorNotReady) return "Insert the installation disk into its drive, then try again.";
  if (reading && (code == kErrorCrc || code == kErrorReadFault || code == kErrorIoDevice ||
                  code == kErrorFileCorrupt)) {
    return "The installation disk may be damaged. Clean it, or use another copy of it, then try "
           "again.";
  }
  if (IsDiskFull(code)) return DiskFullAdvice(cause, isLead);
  if (code == kErrorWriteProtect) {
    return "Remove the write protection from the disk, then try again.";
  }
  if (!reading && (code == kErrorAccessDenied || code == kErrorPrivilegeNotHeld)) {
    return "Log on as an administrator, or start the program with Run as administrator, then "
           "try again.";
  }
  if (cause.operation == kOperationWrite &&
      (code == kErrorSharingViolation || code == kErrorLockViolation)) {
    return "Close the programs that use " + FileName(cause, isLead) + ", then try again.";
  }
  return std::string();
}

}  // namespace

FailureWords DescribeFailure(const FailureCause& cause, LeadBytePredicate isLead) {
  FailureWords words;
  if (cause.operation.empty() && cause.text.empty()) return words;
  if (cause.operation == kOperationVerify) {
    words.what = Sentence(cause.text);
    words.advice = "Setup has changed nothing on this computer. Use an undamaged copy of the "
                   "installation disk, as its publisher made it, then try again.";
    return words;
  }
  words.what = WhatFailed(cause, isLead) + Reason(cause);
  words.advice = Advice(cause, isLead);
  return words;
}

}  // namespace stf
