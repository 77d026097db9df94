#include "platform/verify_trust.h"

#include <wintrust.h>
#include <softpub.h>

LONG VerifyFileTrust(WinVerifyTrustCall verify, LPCSTR path, HANDLE handle) {
  WCHAR wide[MAX_PATH * 2];
  if (MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH * 2) == 0) wide[0] = L'\0';
  WINTRUST_FILE_INFO file = {};
  file.cbStruct = sizeof file;
  file.pcwszFilePath = wide;
  file.hFile = handle;
  WINTRUST_DATA data = {};
  data.cbStruct = sizeof data;
  data.dwUIChoice = WTD_UI_NONE;
  data.fdwRevocationChecks = WTD_REVOKE_NONE;
  data.dwUnionChoice = WTD_CHOICE_FILE;
  data.pFile = &file;
  data.dwStateAction = WTD_STATEACTION_VERIFY;
  data.dwProvFlags = WTD_CACHE_ONLY_URL_RETRIEVAL;
  GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
  HWND noUser = reinterpret_cast<HWND>(INVALID_HANDLE_VALUE);
  const LONG result = verify(noUser, &action, &data);
  data.dwStateAction = WTD_STATEACTION_CLOSE;
  verify(noUser, &action, &data);
  return result;
}
