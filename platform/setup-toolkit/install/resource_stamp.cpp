// Writing data into a resource of a copied file.
#include <string>

#include "dbcs_path.h"
#include "platform/setup-toolkit/install/install_state.h"

namespace {

bool IsExistingFile(LPCSTR path) {
  DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The file a copy of line szKey of szSection made in directory dir: the line's
// install name (field 2), or its disk name (field 1) when it has none.
bool CopiedFile(LPCSTR section, LPCSTR key, const std::string& dir, std::string* file) {
  if (section == nullptr || key == nullptr) return false;
  char name[MAX_PATH];
  INT n = CbGetInfSectionKeyField(section, key, 2, name, sizeof name);
  if (n <= 0 || n >= static_cast<INT>(sizeof name)) {
    n = CbGetInfSectionKeyField(section, key, 1, name, sizeof name);
  }
  if (n <= 0 || n >= static_cast<INT>(sizeof name)) return false;
  *file = stf::JoinPath(dir, name, StfIsLeadByte);
  return true;
}

BOOL Fail(const std::string& what, DWORD error) {
  StfLogError(what.c_str(), error);
  SetLastError(error);
  return FALSE;
}

}  // namespace

extern "C" {

BOOL STFAPI FStampResource(LPCSTR section, LPCSTR key, LPCSTR dst, UINT resType, UINT resId,
                           LPCSTR data, INT cbData) {
  if (dst == nullptr || dst[0] == '\0' || data == nullptr || cbData <= 0 || resType == 0 ||
      resId == 0 || resType > 0xFFFF || resId > 0xFFFF) {
    return Fail("FStampResource: bad arguments", ERROR_INVALID_PARAMETER);
  }
  std::string file = dst;
  if (!IsExistingFile(dst) && !CopiedFile(section, key, dst, &file)) {
    return Fail("FStampResource: no file for " + std::string(dst), ERROR_FILE_NOT_FOUND);
  }
  HANDLE update = BeginUpdateResourceA(file.c_str(), FALSE);
  if (update == nullptr) return Fail("BeginUpdateResourceA " + file, GetLastError());
  if (!UpdateResourceA(update, MAKEINTRESOURCEA(resType), MAKEINTRESOURCEA(resId),
                       MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                       const_cast<LPSTR>(data), static_cast<DWORD>(cbData))) {
    DWORD error = GetLastError();
    EndUpdateResourceA(update, TRUE);
    return Fail("UpdateResourceA " + file, error);
  }
  if (!EndUpdateResourceA(update, FALSE)) return Fail("EndUpdateResourceA " + file, GetLastError());
  FWriteToLogFile(("Stamped resource " + std::to_string(resType) + "/" + std::to_string(resId) +
                   " of " + file)
                      .c_str(),
                  TRUE);
  return TRUE;
}

}  // extern "C"
