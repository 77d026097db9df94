// Opening the setup log: the name is opened once, without following a link
// where Windows has links, and the file found there is checked
// (log_file_rules.h) before a byte is written to it.
#include "platform/setup-toolkit/common/log_file.h"

#include <memory>

#include "log_file_rules.h"

namespace {

// Windows 2000 brought reparse points; Windows NT 4.0 has no links to follow
// and is not asked to understand the flag.
const DWORD kOpenReparsePoint = 0x00200000;  // FILE_FLAG_OPEN_REPARSE_POINT
const DWORD kReparsePointAttribute = 0x00000400;  // FILE_ATTRIBUTE_REPARSE_POINT

DWORD NoFollowFlag() { return LOBYTE(LOWORD(GetVersion())) >= 5 ? kOpenReparsePoint : 0; }

class HandleSink : public stf::LogSink {
 public:
  explicit HandleSink(HANDLE file) : file_(file) {}
  ~HandleSink() override { CloseHandle(file_); }
  bool Append(const std::string& bytes) override {
    DWORD written = 0;
    SetFilePointer(file_, 0, nullptr, FILE_END);
    return WriteFile(file_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
  }

 private:
  HANDLE file_;
};

PSID WellKnownSid(DWORD count, DWORD first, DWORD second) {
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  PSID sid = nullptr;
  AllocateAndInitializeSid(&nt, static_cast<BYTE>(count), first, second, 0, 0, 0, 0, 0, 0, &sid);
  return sid;
}

stf::FileOwner OwnerOf(HANDLE file) {
  DWORD size = 0;
  GetKernelObjectSecurity(file, OWNER_SECURITY_INFORMATION, nullptr, 0, &size);
  std::string descriptor(size, '\0');
  PSID owner = nullptr;
  BOOL defaulted = FALSE;
  if (size == 0 ||
      !GetKernelObjectSecurity(file, OWNER_SECURITY_INFORMATION, &descriptor[0], size, &size) ||
      !GetSecurityDescriptorOwner(&descriptor[0], &owner, &defaulted) || owner == nullptr) {
    return stf::FileOwner::kUnknown;
  }
  PSID admins = WellKnownSid(2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS);
  PSID system = WellKnownSid(1, SECURITY_LOCAL_SYSTEM_RID, 0);
  PSID user = StfProcessUserSid();
  const bool trusted = (admins != nullptr && EqualSid(owner, admins)) ||
                       (system != nullptr && EqualSid(owner, system)) ||
                       (user != nullptr && EqualSid(owner, user));
  if (admins != nullptr) FreeSid(admins);
  if (system != nullptr) FreeSid(system);
  return trusted ? stf::FileOwner::kTrusted : stf::FileOwner::kOther;
}

// What the rules need to know of the file behind an open handle.
stf::OpenedFileFacts FactsOf(HANDLE file) {
  stf::OpenedFileFacts facts;
  BY_HANDLE_FILE_INFORMATION info;
  facts.identified = GetFileInformationByHandle(file, &info) != FALSE;
  if (facts.identified) {
    facts.isDirectory = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    facts.isReparsePoint = (info.dwFileAttributes & kReparsePointAttribute) != 0;
    facts.linkCount = info.nNumberOfLinks;
  }
  facts.owner = OwnerOf(file);
  facts.elevated = StfIsAdministrator() != FALSE;
  return facts;
}

}  // namespace

HANDLE OpenCheckedFile(const std::string& path, DWORD disposition, std::string* why,
                       DWORD* error) {
  *why = std::string();
  *error = 0;
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    *why = "is a folder, not a file";  // CreateFileA would only say "access denied"
    return INVALID_HANDLE_VALUE;
  }
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition, FILE_ATTRIBUTE_NORMAL | NoFollowFlag(), nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    *error = GetLastError();
    return file;
  }
  *why = stf::WriteRefusal(FactsOf(file));
  if (why->empty()) return file;
  CloseHandle(file);
  return INVALID_HANDLE_VALUE;
}

bool AttachLog(HANDLE file, bool append) {
  if (!append) {
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    if (!SetEndOfFile(file)) {
      CloseHandle(file);
      return false;
    }
  }
  stf::ProcessSetupLog().Attach(std::unique_ptr<stf::LogSink>(new HandleSink(file)));
  return true;
}
