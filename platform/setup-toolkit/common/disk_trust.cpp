// Windows' signature check (WinVerifyTrust) of every file setup installs or
// loads from its disk, before it is copied or loaded; the decision is the
// core's (file_trust.h). wintrust.dll is not a KnownDLL: it comes from the
// system directory by its full path, and where Windows lacks it the log says
// that the checks were skipped. A program image whose header lists no
// certificate table carries no signature, which its first page tells: only a
// file that may carry one loads wintrust.dll and the libraries it brings.
#include <cstdint>
#include <map>
#include <set>
#include <string>

#include "dbcs_path.h"
#include "file_trust.h"
#include "image_kind.h"
#include "platform/setup-toolkit/common/common_state.h"
#include "platform/setup-toolkit/language_resources.h"

// After <windows.h>, which common_state.h brings.
#include <wintrust.h>
#include <softpub.h>

namespace {

typedef LONG(WINAPI* VerifyTrust)(HWND, GUID*, LPVOID);

// "Windows cannot verify the digital signature for this file" (Windows Vista
// on; older headers lack the name).
constexpr DWORD kErrorInvalidImageHash = 577;
// WinVerifyTrust's answer for a file without a signature (TRUST_E_NOSIGNATURE).
constexpr unsigned long kNoSignature = 0x800B0100ul;
// The part of a file its PE header lies in.
constexpr DWORD kHeaderBytes = 4096;

VerifyTrust verifier = nullptr;
bool verifierLooked = false;
int programSigned = -1;  // unknown until the first check
std::map<std::string, std::string> refused;  // file -> why
std::set<std::string> accepted;

VerifyTrust Verifier() {
  if (verifierLooked) return verifier;
  verifierLooked = true;
  HMODULE library = StfSystemLibrary("wintrust.dll");
  if (library != nullptr) {
    verifier = reinterpret_cast<VerifyTrust>(
        reinterpret_cast<void*>(GetProcAddress(library, "WinVerifyTrust")));
  }
  if (verifier == nullptr) {
    LogRecord("Signature checks skipped: this Windows has no WinVerifyTrust (wintrust.dll, error " +
              std::to_string(GetLastError()) + ")");
  }
  return verifier;
}

unsigned long Check(const std::string& path) {
  const int n = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
  std::wstring wide(n > 0 ? n : 1, L'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], n);
  WINTRUST_FILE_INFO file = {};
  file.cbStruct = sizeof file;
  file.pcwszFilePath = wide.c_str();
  WINTRUST_DATA data = {};
  data.cbStruct = sizeof data;
  data.dwUIChoice = WTD_UI_NONE;
  data.fdwRevocationChecks = WTD_REVOKE_NONE;
  data.dwUnionChoice = WTD_CHOICE_FILE;
  data.pFile = &file;
  data.dwStateAction = WTD_STATEACTION_VERIFY;
  // No network: setup runs offline and as SYSTEM, where a fetch would stall it.
  data.dwProvFlags = WTD_CACHE_ONLY_URL_RETRIEVAL;
  GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
  HWND noUser = reinterpret_cast<HWND>(INVALID_HANDLE_VALUE);
  const LONG result = verifier(noUser, &action, &data);
  data.dwStateAction = WTD_STATEACTION_CLOSE;
  verifier(noUser, &action, &data);
  return static_cast<unsigned long>(result);
}

// A plain program image whose header lists no certificate table; false for
// any other file and for one that cannot be read here.
bool ListsNoCertificates(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  std::uint8_t head[kHeaderBytes];
  DWORD got = 0;
  const BOOL read = ReadFile(file, head, kHeaderBytes, &got, nullptr);
  CloseHandle(file);
  return read && stf::ImageKindOf(head, got).certificates == stf::CertificateTable::kAbsent;
}

// WinVerifyTrust's answer for a file, or the one it gives an image without a
// signature; false when Windows cannot be asked.
bool TrustAnswer(const std::string& path, unsigned long* answer) {
  if (ListsNoCertificates(path)) {
    *answer = kNoSignature;
    return true;
  }
  if (Verifier() == nullptr) return false;
  *answer = Check(path);
  return true;
}

std::string ProgramPath() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::string(path, length) : std::string();
}

// A signed setup program makes every file of its disk answerable to a
// signature: an unsigned one there can only have been put in later. False
// when Windows cannot be asked.
bool ProgramSigned(bool* isSigned) {
  unsigned long answer = 0;
  if (programSigned < 0) {
    if (!TrustAnswer(ProgramPath(), &answer)) return false;
    const stf::TrustVerdict verdict = stf::ClassifyTrustResult(answer);
    programSigned = verdict != stf::TrustVerdict::kNotSigned &&
                    verdict != stf::TrustVerdict::kNoSignatureForm &&
                    verdict != stf::TrustVerdict::kUnchecked;
    LogRecord(programSigned ? "Setup is signed: every file it installs or loads from its disk "
                              "must carry an intact signature"
                            : "Setup is not signed: the files of its disk are checked only where "
                              "they carry a signature");
  }
  *isSigned = programSigned == 1;
  return true;
}

// A bare name is a file of the program's folder.
std::string OnDisk(LPCSTR name) {
  std::string path = name ? name : "";
  if (stf::IsBareName(path, StfIsLeadByte)) {
    path = stf::DirectoryOf(ProgramPath(), StfIsLeadByte) + path;
  }
  return path;
}

}  // namespace

extern "C" {

BOOL STFAPI StfCheckDiskFile(LPCSTR szFile) {
  const std::string file = OnDisk(szFile);
  if (refused.count(file)) {
    SetLastError(kErrorInvalidImageHash);
    return FALSE;
  }
  if (file.empty()) return FALSE;
  if (accepted.count(file)) return TRUE;  // checked once a run
  unsigned long answer = 0;
  bool diskSigned = false;
  // Without WinVerifyTrust the checks are skipped, as the log has said.
  if (!TrustAnswer(file, &answer) || !ProgramSigned(&diskSigned)) return TRUE;
  const stf::TrustDecision decision = stf::DecideTrust(file, answer, diskSigned);
  if (!decision.refuse) {
    LogRecord(decision.line);
    accepted.insert(file);
    return TRUE;
  }
  refused[file] = decision.line;
  // The line carries WinVerifyTrust's own code; 577 is the Win32 error for the caller.
  stf::FailureCause cause;
  cause.operation = stf::kOperationVerify;
  cause.file = file;
  cause.text = decision.line;
  cause.code = kErrorInvalidImageHash;
  LogFailure("Error: " + decision.line, cause);
  SetLastError(kErrorInvalidImageHash);
  return FALSE;
}

HMODULE STFAPI StfLoadDiskLibrary(LPCSTR szName, DWORD dwFlags) {
  const std::string path = OnDisk(szName);
  const bool toldBefore = refused.count(path) != 0;
  if (!StfCheckDiskFile(path.c_str())) {
    // Without its dialog library the error dialog cannot say it: a box does, once.
    if (!toldBefore && refused.count(path) != 0 && !StfQuiet()) {
      const std::string text = refused[path] + ".\n\nSetup has changed nothing on this computer. "
                               "Use an undamaged copy of the installation disk, then try again.";
      StfShowBox(nullptr, StfWideText(text).c_str(), SpokenTitle(true).c_str(),
                 MB_OK | MB_ICONHAND | MB_TASKMODAL);
      SetLastError(kErrorInvalidImageHash);
    }
    return nullptr;
  }
  return LoadLibraryExA(path.c_str(), nullptr, dwFlags);
}

}  // extern "C"
