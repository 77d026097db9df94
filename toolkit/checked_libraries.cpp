// The programs import our toolkit's libraries with delay: nothing of ours is
// loaded before the program runs. At a library's first call the delay-load
// helper asks here first, and this code opens the library in the program's
// folder with writing denied, hashes its bytes, compares them with the
// manifest the program carries (core/disk_manifest.h), loads the libraries of
// ours it imports the same way, and only then loads it by its full path while
// the file is still held. The helper then finds the module loaded and never
// looks for one by name; a library that is not ours to check, or that cannot
// be loaded, ends the run here. Only KnownDLLs and the core are used.
//
// A signed program first checks its own signature, which covers the manifest.
#include <windows.h>

#include <delayimp.h>

#include <string>
#include <vector>

#include "disk_manifest.h"
#include "file_trust.h"
#include "image_kind.h"
#include "sha256.h"
#include "platform/crt_binding/crt_binding.h"
#include "platform/startup.h"
#include "platform/verify_trust.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

// Our libraries are a few hundred kilobytes; more is no library of the disk.
constexpr DWORD kMostLibraryBytes = 16u << 20;

struct Loaded {
  std::string name;  // as the manifest spells it
  HMODULE module;
};

bool ready = false;
bool diskSigned = false;
bool haveManifest = false;
stf::DiskManifest manifest;
// Wide: a folder whose name the ANSI code page cannot hold still loads, and
// the toolkit then says why setup cannot go on there.
char programPath[MAX_PATH];
WCHAR programDir[MAX_PATH];
std::vector<Loaded> loaded;
std::vector<std::string> loading;  // a cycle of imports is refused

[[noreturn]] void Refuse(const std::string& why) {
  const std::string text = why + ".\n\nNothing on this computer has been changed. Use an "
                                 "undamaged copy of the installation disk, then try again.";
  EndStart(text.c_str(), programPath);
}

std::string ErrorText(const char* call, const std::string& path, DWORD error) {
  return "The program cannot check its library " + path + ": " + call + " failed (error " +
         std::to_string(error) + ")";
}

// The same search rule as the toolkit's for system libraries: the system
// directory only, for the library and for what it imports.
WinVerifyTrustCall SystemVerifier() {
  char dir[MAX_PATH];
  const UINT length = GetSystemDirectoryA(dir, MAX_PATH - 16);
  if (length == 0 || length >= MAX_PATH - 16) return nullptr;
  const std::string path = std::string(dir) + "\\wintrust.dll";
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  const bool searchFlags =
      kernel != nullptr && GetProcAddress(kernel, "SetDefaultDllDirectories") != nullptr;
  HMODULE library = LoadLibraryExA(
      path.c_str(), nullptr, searchFlags ? LOAD_LIBRARY_SEARCH_SYSTEM32 : LOAD_WITH_ALTERED_SEARCH_PATH);
  if (library == nullptr) return nullptr;
  return reinterpret_cast<WinVerifyTrustCall>(
      reinterpret_cast<void*>(GetProcAddress(library, "WinVerifyTrust")));
}

// A signature that is there but broken, revoked or not understood ends the
// run; Windows without WinVerifyTrust (NT 4.0 before Internet Explorer 4)
// leaves the manifest, which needs no crypto of the system, to decide.
void CheckOwnSignature() {
  WinVerifyTrustCall verify = SystemVerifier();
  if (verify == nullptr) {
    NoteStartupLine("The program's own signature was not checked: this Windows has no WinVerifyTrust");
    return;
  }
  const unsigned long answer = static_cast<unsigned long>(VerifyFileTrust(verify, programPath));
  const stf::TrustVerdict verdict = stf::ClassifyTrustResult(answer);
  if (verdict == stf::TrustVerdict::kVerified || verdict == stf::TrustVerdict::kUntrustedSigner) {
    NoteStartupLine(("The program's own signature is intact (" + stf::TrustCodeText(answer) +
                     "): " + programPath).c_str());
    return;
  }
  Refuse(std::string("The signature of ") + programPath + " does not hold (WinVerifyTrust " +
         stf::TrustCodeText(answer) + "): it has been changed or damaged since it was signed");
}

void Prepare() {
  if (ready) return;
  ready = true;
  // The processor's SHA instructions, where the system saves their registers.
  stf::UseSha256Instructions(IsProcessorFeaturePresent(PF_XMMI64_INSTRUCTIONS_AVAILABLE) != FALSE);
  const DWORD length = GetModuleFileNameW(nullptr, programDir, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) Refuse("The program cannot read its own path");
  GetModuleFileNameA(nullptr, programPath, MAX_PATH);
  for (DWORD i = length; i > 0 && programDir[i - 1] != L'\\'; --i) programDir[i - 1] = L'\0';
  // The header page is mapped with the image: its certificate entry tells a
  // signed program without reading the file again.
  const stf::ImageKind kind = stf::ImageKindOf(reinterpret_cast<const std::uint8_t*>(&__ImageBase), 1024);
  diskSigned = kind.certificates == stf::CertificateTable::kPresent;
  std::string problem = "no manifest resource";
  HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(stf::kManifestResource), MAKEINTRESOURCEA(10));
  HGLOBAL resource = found != nullptr ? LoadResource(nullptr, found) : nullptr;
  const void* text = resource != nullptr ? LockResource(resource) : nullptr;
  if (text != nullptr) {
    haveManifest = stf::ParseManifest(static_cast<const char*>(text), SizeofResource(nullptr, found),
                                      &manifest, &problem);
  }
  if (diskSigned) {
    CheckOwnSignature();
    if (!haveManifest) Refuse(stf::NoManifestLine(programPath, problem));
  }
}

HMODULE Find(const std::string& name) {
  for (const Loaded& l : loaded) {
    if (lstrcmpiA(l.name.c_str(), name.c_str()) == 0) return l.module;
  }
  return nullptr;
}

// The whole file through a handle that denies writing; kept open for the run.
HANDLE ReadHeld(const std::wstring& wide, const std::string& path, std::vector<std::uint8_t>* bytes) {
  HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) Refuse(ErrorText("CreateFileA", path, GetLastError()));
  const DWORD size = GetFileSize(file, nullptr);
  if (size == INVALID_FILE_SIZE || size > kMostLibraryBytes) {
    Refuse(ErrorText("GetFileSize", path, size == INVALID_FILE_SIZE ? GetLastError() : ERROR_FILE_TOO_LARGE));
  }
  bytes->resize(size);
  DWORD got = 0;
  if (size > 0 && (!ReadFile(file, bytes->data(), size, &got, nullptr) || got != size)) {
    Refuse(ErrorText("ReadFile", path, got != size ? ERROR_HANDLE_EOF : GetLastError()));
  }
  return file;
}

HMODULE LoadChecked(const std::string& name);

// A damaged library on an unsigned disk may be read again (a worn CD).
bool AskRetry(const std::string& line) {
  if (CommandAsksForUnattended(GetCommandLineA())) Refuse(line);
  const std::string text = line + ".\n\nChoose Retry to read it again, or Cancel to end setup.";
  if (MessageBoxA(nullptr, text.c_str(), programPath,
                  MB_RETRYCANCEL | MB_ICONEXCLAMATION | MB_SETFOREGROUND) == IDRETRY) {
    return true;
  }
  ExitProcess(0);  // a person has seen why
}

HMODULE LoadChecked(const std::string& name) {
  Prepare();
  if (HMODULE module = Find(name)) return module;
  const stf::ManifestEntry* entry = haveManifest ? stf::FindManifestEntry(manifest, name) : nullptr;
  // Only a library the build listed is ours to load from the program's folder.
  if (entry == nullptr && haveManifest) {
    Refuse("The program was asked to load " + name + ", which is not one of the files of its disk");
  }
  for (const std::string& busy : loading) {
    if (lstrcmpiA(busy.c_str(), name.c_str()) == 0) Refuse("The libraries of the disk import each other in a cycle: " + name);
  }
  std::wstring wide = programDir;
  for (char c : name) wide += static_cast<WCHAR>(static_cast<unsigned char>(c));  // ASCII names
  const std::string path = std::string(programPath).substr(0, std::string(programPath).find_last_of('\\') + 1) + name;
  std::vector<std::uint8_t> bytes;
  HANDLE held = nullptr;
  for (;;) {
    held = ReadHeld(wide, path, &bytes);
    unsigned char digest[stf::kSha256Size];
    stf::Sha256 sha;
    sha.Update(bytes.data(), bytes.size());
    sha.Finish(digest);
    const stf::ManifestMatch match =
        haveManifest ? stf::MatchManifest(manifest, name, bytes.size(), digest, false)
                     : stf::ManifestMatch::kUnlisted;
    const stf::ManifestDecision decision = stf::DecideManifest(path, match, diskSigned);
    if (decision.action == stf::ManifestAction::kAccept) {
      NoteStartupLine(decision.line.c_str());
      break;
    }
    if (decision.action == stf::ManifestAction::kRefuse) Refuse(decision.line);
    CloseHandle(held);
    AskRetry(decision.line);
  }
  loading.push_back(name);
  std::vector<std::string> imports;
  stf::ImportedLibraries(bytes.data(), bytes.size(), &imports);
  for (const std::string& imported : imports) {
    if (haveManifest && stf::FindManifestEntry(manifest, imported) != nullptr) LoadChecked(imported);
  }
  loading.pop_back();
  HMODULE module = LoadLibraryExW(wide.c_str(), nullptr, 0);
  if (module == nullptr) Refuse(ErrorText("LoadLibraryExW", path, GetLastError()));
  loaded.push_back({entry != nullptr ? entry->name : name, module});
  (void)held;  // held open: the file cannot change while the run uses it
  return module;
}

FARPROC WINAPI BeforeDelayLoad(unsigned notify, PDelayLoadInfo info) {
  if (notify != dliNotePreLoadLibrary) return nullptr;
  return reinterpret_cast<FARPROC>(LoadChecked(info->szDll));
}

// The helper asks here when a library or a function is missing: the run ends
// instead of a search, or a call through a null pointer.
FARPROC WINAPI DelayLoadFailed(unsigned notify, PDelayLoadInfo info) {
  std::string what = notify == dliFailGetProc && info->dlp.fImportByName
                         ? std::string(info->szDll) + " lacks " + info->dlp.szProcName
                         : std::string("The program cannot load ") + info->szDll;
  Refuse(what + " (error " + std::to_string(info->dwLastError) + ")");
}

}  // namespace

extern "C" {
PfnDliHook __pfnDliNotifyHook2 = BeforeDelayLoad;
PfnDliHook __pfnDliFailureHook2 = DelayLoadFailed;
// The delay-load libraries lay their descriptors in .text$2, one after the
// other; this zero one after them ends the table that the image's Delay
// Import Directory names (cmake/delay_imports.py), for the tools that read it.
// The link keeps it (-u): nothing calls it.
extern const ImgDelayDescr DelayDescriptorsEnd __attribute__((section(".text$3"), used, aligned(4))) = {};
}
