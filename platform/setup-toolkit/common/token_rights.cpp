// The rights of the process's token, for the log's header and for the rules
// that keep an elevated setup from writing into another user's file.
#include "platform/setup-toolkit/stf_internal.h"

#include <string>

extern "C" BOOL STFAPI StfIsAdministrator(void) {
  HANDLE token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return FALSE;
  DWORD size = 0;
  GetTokenInformation(token, TokenGroups, nullptr, 0, &size);
  std::string buffer(size, '\0');
  const bool read = size != 0 && GetTokenInformation(token, TokenGroups, &buffer[0], size, &size);
  CloseHandle(token);
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  PSID admins = nullptr;
  if (!read || !AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                         DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &admins)) {
    return FALSE;
  }
  const TOKEN_GROUPS* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
  bool member = false;
  for (DWORD i = 0; i < groups->GroupCount && !member; ++i) {
    member = EqualSid(groups->Groups[i].Sid, admins) &&
             (groups->Groups[i].Attributes & SE_GROUP_ENABLED) != 0;
  }
  FreeSid(admins);
  return member ? TRUE : FALSE;
}

extern "C" PSID STFAPI StfProcessUserSid(void) {
  static std::string user;  // TOKEN_USER, read once
  if (user.empty()) {
    HANDLE token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return nullptr;
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    user.assign(size, '\0');
    if (size == 0 || !GetTokenInformation(token, TokenUser, &user[0], size, &size)) user.clear();
    CloseHandle(token);
  }
  return user.empty() ? nullptr : reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid;
}
