// The files of the disk before setup reads, loads or installs them: their
// bytes against the manifest the program carries (core/disk_manifest.h), and
// Windows' signature check (WinVerifyTrust) of those same bytes, through the
// handle they were read from. The decisions are the core's (disk_manifest.h,
// file_trust.h). The program has checked its own signature, which covers the
// manifest, before it loaded this library.
//
// wintrust.dll is not a KnownDLL: it comes from the system directory by its
// full path, and where Windows lacks it the log says that the signature
// checks were skipped (the manifest needs no crypto of the system). Only a
// file whose first page shows a kind that can carry a signature is handed to
// it (core/file_trust.h), and the same bytes only once a run: its answer is
// kept by their SHA-256, for the copy that lands from them.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "copy_job.h"
#include "dbcs_path.h"
#include "disk_manifest.h"
#include "file_trust.h"
#include "image_kind.h"
#include "ansi_text.h"
#include "setup_log.h"
#include "sha256.h"
#include "platform/setup-toolkit/common/common_state.h"
#include "platform/setup-toolkit/language_resources.h"
#include "platform/verify_trust.h"

namespace {

// "Windows cannot verify the digital signature for this file" (Windows Vista
// on; older headers lack the name).
constexpr DWORD kErrorInvalidImageHash = 577;
// The part of a file its PE header lies in.
constexpr DWORD kHeaderBytes = 4096;
constexpr DWORD kChunkBytes = 64 * 1024;

struct Disk {
  bool isSigned = false;
  bool listed = false;  // a manifest was read
  stf::DiskManifest manifest;
  std::string problem;
};

WinVerifyTrustCall verifier = nullptr;
bool verifierLooked = false;
std::map<std::string, std::string> refused;  // file -> why
std::set<std::string> accepted;
// Loaded through StfLoadDiskLibrary: checked, and held with writing denied
// from then on, so that its bytes are still the ones checked.
std::set<std::string> heldLibraries;
std::string lastProblem;
// WinVerifyTrust's answers this run, by the SHA-256 of the bytes it judged.
std::map<std::string, unsigned long> answered;

std::string ProgramPath() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::string(path, length) : std::string();
}

std::string ProgramDir() { return stf::DirectoryOf(ProgramPath(), StfIsLeadByte); }

// The program's manifest, and whether it is signed (its header lists a
// certificate table; the program has verified that signature itself).
const Disk& TheDisk() {
  static Disk disk;
  static bool read = false;
  if (read) return disk;
  read = true;
  // The processor's SHA instructions, where the system saves their registers.
  stf::UseSha256Instructions(IsProcessorFeaturePresent(PF_XMMI64_INSTRUCTIONS_AVAILABLE) != FALSE);
  HMODULE program = GetModuleHandleA(nullptr);
  disk.isSigned = stf::ImageKindOf(reinterpret_cast<const std::uint8_t*>(program), 1024).certificates ==
                  stf::CertificateTable::kPresent;
  disk.problem = "no manifest resource";
  HRSRC found = FindResourceA(program, MAKEINTRESOURCEA(stf::kManifestResource), MAKEINTRESOURCEA(10));
  HGLOBAL resource = found != nullptr ? LoadResource(program, found) : nullptr;
  const void* text = resource != nullptr ? LockResource(resource) : nullptr;
  if (text != nullptr) {
    disk.listed = stf::ParseManifest(static_cast<const char*>(text), SizeofResource(program, found),
                                     &disk.manifest, &disk.problem);
  }
  return disk;
}

// The first files are judged before the log opens (the frame reads the
// dialog library's languages): their lines wait for it.
std::vector<std::string> early;

void Note(const std::string& line) {
  early.push_back(line);
  if (!stf::ProcessSetupLog().Write(early.front())) return;
  for (std::size_t i = 1; i < early.size(); ++i) LogRecord(early[i]);
  early.clear();
}

void TellDiskOnce(const Disk& disk) {
  static bool told = false;
  if (told) return;
  told = true;
  Note(disk.isSigned ? "Setup is signed: every file it reads, loads or installs from its disk "
                       "must match the disk's manifest"
                     : "Setup is not signed: a file of its disk that differs from the disk's "
                       "manifest is taken for a damaged one");
  if (!disk.listed) Note("The disk's manifest cannot be read: " + disk.problem);
}

WinVerifyTrustCall Verifier() {
  if (verifierLooked) return verifier;
  verifierLooked = true;
  HMODULE library = StfSystemLibrary("wintrust.dll");
  if (library != nullptr) {
    verifier = reinterpret_cast<WinVerifyTrustCall>(
        reinterpret_cast<void*>(GetProcAddress(library, "WinVerifyTrust")));
  }
  if (verifier == nullptr) {
    Note("Signature checks skipped: this Windows has no WinVerifyTrust (wintrust.dll, error " +
         std::to_string(GetLastError()) + ")");
  }
  return verifier;
}

// A bare name is a file of the program's folder.
std::string OnDisk(LPCSTR name) {
  std::string path = name ? name : "";
  if (stf::IsBareName(path, StfIsLeadByte)) path = ProgramDir() + path;
  return path;
}

// What a read held: its size, SHA-256 and first page.
struct Bytes {
  std::uint64_t size = 0;
  unsigned char digest[stf::kSha256Size] = {};
  std::uint8_t head[kHeaderBytes] = {};
  DWORD headSize = 0;
  std::string text;  // the whole file, when asked for
};

enum class Reading { kWhole, kText, kHead };

// Reads a file through a handle that denies writing, for as long as it is
// held: whole and hashed, also kept as text, or only its first page.
DWORD ReadHeld(const std::string& path, Bytes* out, Reading reading, HANDLE* held) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetLastError();
  stf::Sha256 sha;
  static char chunk[kChunkBytes];
  for (;;) {
    DWORD got = 0;
    const DWORD want = reading == Reading::kHead ? kHeaderBytes - out->headSize : kChunkBytes;
    if (!ReadFile(file, chunk, want, &got, nullptr)) {
      const DWORD error = GetLastError();
      CloseHandle(file);
      return error;
    }
    if (got == 0) break;
    sha.Update(chunk, got);
    for (DWORD i = 0; i < got && out->headSize < kHeaderBytes; ++i) out->head[out->headSize++] = chunk[i];
    if (reading == Reading::kText) out->text.append(chunk, got);
    out->size += got;
    if (reading == Reading::kHead && out->headSize == kHeaderBytes) break;
  }
  if (reading != Reading::kHead) sha.Finish(out->digest);
  *held = file;
  return 0;
}

void Refused(const std::string& file, const std::string& line, DWORD code) {
  refused[file] = lastProblem = line;
  stf::FailureCause cause;
  cause.operation = stf::kOperationVerify;
  cause.file = file;
  cause.text = line;
  cause.code = code;
  LogFailure("Error: " + line, cause);
  SetLastError(code);
}

// The manifest's word on bytes read from path, known by the disk's name.
stf::ManifestDecision JudgeListing(const std::string& name, const std::string& path,
                                   const Bytes& bytes, bool landed, bool setupInformation) {
  const Disk& disk = TheDisk();
  TellDiskOnce(disk);
  if (disk.isSigned && !disk.listed) {
    return {stf::ManifestAction::kRefuse, stf::NoManifestLine(ProgramPath(), disk.problem)};
  }
  const stf::ManifestMatch match =
      disk.listed ? stf::MatchManifest(disk.manifest, name, bytes.size, bytes.digest, landed)
                  : stf::ManifestMatch::kUnlisted;
  const bool besideProgram = stf::ToUpperAscii(stf::DirectoryOf(path, StfIsLeadByte)) ==
                             stf::ToUpperAscii(ProgramDir());
  return stf::DecideManifest(path, match, disk.isSigned, setupInformation, besideProgram);
}

// WinVerifyTrust's word on the held file (named as the disk's file), asked
// only of a kind that can carry a signature, and only once for the bytes of
// a known SHA-256 (digest, when given); true when the file may be used.
bool JudgeSignature(const std::string& path, const Bytes& bytes, HANDLE held,
                    const std::string& named, const unsigned char* digest) {
  const stf::SignatureCheck check = stf::SignatureCheckOf(bytes.head, bytes.headSize);
  unsigned long answer = check.answer;
  std::string shown = named;
  if (check.ask) {
    const std::string key = digest != nullptr ? stf::Sha256Text(digest) : std::string();
    const auto known = key.empty() ? answered.end() : answered.find(key);
    if (known != answered.end()) {
      answer = known->second;
      shown += ", the same bytes as checked before";
    } else {
      if (Verifier() == nullptr) return true;  // the log has said that the checks are skipped
      SetFilePointer(held, 0, nullptr, FILE_BEGIN);
      answer = static_cast<unsigned long>(VerifyFileTrust(Verifier(), path.c_str(), held));
      if (!key.empty()) answered[key] = answer;
    }
  }
  const stf::TrustDecision decision = stf::DecideTrust(shown, answer, TheDisk().isSigned);
  if (decision.refuse) {
    Refused(named, decision.line, kErrorInvalidImageHash);
    return false;
  }
  Note(decision.line);
  return true;
}

// A damaged file of an unsigned disk may be read again (a worn CD, a bad
// copy); nobody answers in a quiet run.
bool AskReadAgain(const std::string& line) {
  if (StfQuiet()) return false;
  const std::string text = line + ".\n\nChoose Retry to read it again, or Cancel to end setup.";
  return MessageBoxA(nullptr, text.c_str(), StfErrorCaption(),
                     MB_RETRYCANCEL | MB_ICONEXCLAMATION | MB_TASKMODAL) == IDRETRY;
}

// Reads and judges a file of the disk; the handle stays held on success.
bool JudgeDiskFile(const std::string& path, bool setupInformation, Bytes* bytes, HANDLE* held) {
  for (;;) {
    *bytes = Bytes();
    if (DWORD error = ReadHeld(path, bytes, setupInformation ? Reading::kText : Reading::kWhole,
                               held)) {
    // A missing file is for the caller to name with the others missing.
    if (!setupInformation && (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)) {
      *held = INVALID_HANDLE_VALUE;
      return true;
    }
      stf::FailureCause cause;
      cause.operation = stf::kOperationRead;
      cause.file = path;
      cause.code = error;
      cause.text = lastProblem = "Cannot read " + path + " to check it";
      LogFailure("Error: " + cause.text, cause);
      SetLastError(error);
      return false;
    }
    const std::string name = stf::FileNameOf(path, StfIsLeadByte);
    const stf::ManifestDecision listing = JudgeListing(name, path, *bytes, false, setupInformation);
    if (listing.action == stf::ManifestAction::kAccept) {
      Note(listing.line);
      if (setupInformation || JudgeSignature(path, *bytes, *held, path, bytes->digest)) {
        return true;
      }
      CloseHandle(*held);
      return false;
    }
    CloseHandle(*held);
    if (listing.action == stf::ManifestAction::kRetry && AskReadAgain(listing.line)) continue;
    Refused(path, listing.line, listing.action == stf::ManifestAction::kRetry ? ERROR_FILE_CORRUPT
                                                                              : kErrorInvalidImageHash);
    return false;
  }
}

}  // namespace

bool ReadDiskText(const std::string& path, std::string* text, std::string* why) {
  Bytes bytes;
  HANDLE held = nullptr;
  if (!JudgeDiskFile(path, true, &bytes, &held)) {
    *why = lastProblem;
    return false;
  }
  CloseHandle(held);
  text->swap(bytes.text);
  return true;
}

extern "C" {

BOOL STFAPI StfCheckDiskFile(LPCSTR szFile) {
  const std::string file = OnDisk(szFile);
  if (file.empty()) return FALSE;
  if (refused.count(file)) {
    SetLastError(kErrorInvalidImageHash);
    return FALSE;
  }
  if (accepted.count(file) || heldLibraries.count(file)) return TRUE;  // checked once a run
  Bytes bytes;
  HANDLE held = nullptr;
  if (!JudgeDiskFile(file, false, &bytes, &held)) return FALSE;
  if (held == INVALID_HANDLE_VALUE) return TRUE;  // missing: the caller names it
  CloseHandle(held);
  accepted.insert(file);
  return TRUE;
}

// fHashed: the copy hashed what it wrote and matched it with the manifest,
// so that only the first page is read again; the bytes are then the ones the
// manifest lists, when it lists the source.
BOOL STFAPI StfCheckLandedFile(LPCSTR szSource, LPCSTR szLanded, BOOL fHashed) {
  const std::string source = szSource ? szSource : "", landed = szLanded ? szLanded : "";
  Bytes bytes;
  HANDLE held = nullptr;
  if (DWORD error = ReadHeld(landed, &bytes, fHashed ? Reading::kHead : Reading::kWhole, &held)) {
    Refused(source, "Cannot read " + landed + ", the copy of " + source + ", to check it", error);
    return FALSE;
  }
  const unsigned char* digest = fHashed ? nullptr : bytes.digest;
  stf::ExpectedBytes expected;
  if (fHashed && StfDiskFileExpected(szSource, &expected)) digest = expected.digest;
  bool ok = true;
  if (!fHashed) {
    const stf::ManifestDecision listing =
        JudgeListing(stf::FileNameOf(source, StfIsLeadByte), source, bytes, true, false);
    ok = listing.action == stf::ManifestAction::kAccept;
    if (ok) {
      Note(listing.line);
    } else {
      Refused(source, listing.line, kErrorInvalidImageHash);
    }
  }
  // Judged as the disk's file, through the copy that landed.
  ok = ok && JudgeSignature(landed, bytes, held, source + " (as copied to " + landed + ")", digest);
  CloseHandle(held);
  return ok ? TRUE : FALSE;
}

void STFAPI StfLogEarlyChecks(void) {
  std::vector<std::string> lines;
  lines.swap(early);
  for (const std::string& line : lines) Note(line);
}

BOOL STFAPI StfDiskSigned(void) { return TheDisk().isSigned ? TRUE : FALSE; }

BOOL STFAPI StfDiskFileExpected(LPCSTR szFile, stf::ExpectedBytes* pExpected) {
  *pExpected = stf::ExpectedBytes();
  const Disk& disk = TheDisk();
  const stf::ManifestEntry* entry =
      disk.listed ? stf::FindManifestEntry(disk.manifest, stf::FileNameOf(szFile, StfIsLeadByte))
                  : nullptr;
  if (entry == nullptr) return FALSE;
  const unsigned char* digest = nullptr;
  stf::LandingOf(*entry, &pExpected->size, &digest);
  for (std::size_t i = 0; i < stf::kSha256Size; ++i) pExpected->digest[i] = digest[i];
  pExpected->listed = true;
  return TRUE;
}

HMODULE STFAPI StfLoadDiskLibrary(LPCSTR szName, DWORD dwFlags) {
  const std::string path = OnDisk(szName);
  // Checked once: the file is held, with writing denied, from then on.
  if (heldLibraries.count(path) == 0) {
    const bool toldBefore = refused.count(path) != 0;
    Bytes bytes;
    HANDLE file = nullptr;
    if (toldBefore || !JudgeDiskFile(path, false, &bytes, &file)) {
      // Without its dialog library the error dialog cannot say it: a box does, once.
      if (!toldBefore && refused.count(path) != 0 && !StfQuiet()) {
        const std::string text = refused[path] + ".\n\nSetup has changed nothing on this computer. "
                                 "Use an undamaged copy of the installation disk, then try again.";
        StfShowBox(nullptr, StfWideText(text).c_str(), SpokenTitle(true).c_str(),
                   MB_OK | MB_ICONHAND | MB_TASKMODAL);
      }
      SetLastError(kErrorInvalidImageHash);
      return nullptr;
    }
    if (file != INVALID_HANDLE_VALUE) heldLibraries.insert(path);  // a missing one fails below
  }
  return LoadLibraryExA(path.c_str(), nullptr, dwFlags);
}

}  // extern "C"
