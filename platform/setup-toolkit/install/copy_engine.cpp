// Copies the copy list under the billboard and the gauge. Each file goes to
// a temporary name in its destination directory and is renamed over the
// target, so no failure leaves a half-written file.
#include <string>

#include "copy_plan.h"
#include "platform/dialogs/dialog_ids.h"
#include "platform/setup-toolkit/install/billboard_show.h"
#include "platform/setup-toolkit/install/grc_codes.h"
#include "platform/setup-toolkit/install/install_state.h"
#include "platform/setup-toolkit/install/progress_gauge.h"

namespace {

// The billboards of the copy that runs, moved on as the bytes are copied.
BillboardShow* billboards = nullptr;

// A quit message met while copying: the copy goes on, and the message is
// posted again afterwards for the program's own loop.
bool quitSeen = false;
int quitCode = 0;
bool windowsUp = false;  // not in quiet mode

// Lets the windows paint between chunks (a few times a second), so that the
// frame, the billboard and the gauge stay drawn during a long copy. Input
// does no harm: the frame and every dialog below the billboard are disabled.
void PumpMessages() {
  static DWORD last = 0;
  DWORD now = GetTickCount();
  if (quitSeen || now - last < 100) return;
  last = now;
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      quitSeen = true;
      quitCode = static_cast<int>(msg.wParam);
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void Progress(unsigned long long done, unsigned long long total) {
  SetGaugeProgress(done, total);
  if (billboards != nullptr) billboards->Advance(done, total);
  if (windowsUp) PumpMessages();
}

struct CopyFailure {
  INT grc;
  DWORD error;
  std::string step;
};

// On 64-bit Windows a 32-bit process's SYSTEM32 is redirected; the service's
// image path names the real one. Looked up at run time: older systems lack it.
// Off only around calls that name paths: while it is off, a library the
// system loads (painting the gauge, a message box) would come from the
// 64-bit SYSTEM32, so Pause() turns it back on while only handles are used.
class RedirectionOff {
 public:
  RedirectionOff() {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    disable_ = reinterpret_cast<Disable>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "Wow64DisableWow64FsRedirection")));
    revert_ = reinterpret_cast<Revert>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "Wow64RevertWow64FsRedirection")));
    Resume();
  }
  ~RedirectionOff() { Pause(); }
  void Pause() {
    if (active_) revert_(old_);
    active_ = false;
  }
  void Resume() {
    DWORD error = GetLastError();  // a failed look-up must not become the reason of a failure
    if (!active_) active_ = disable_ && revert_ && disable_(&old_);
    SetLastError(error);
  }

 private:
  typedef BOOL(WINAPI* Disable)(PVOID*);
  typedef BOOL(WINAPI* Revert)(PVOID);
  Disable disable_ = nullptr;
  Revert revert_ = nullptr;
  PVOID old_ = nullptr;
  bool active_ = false;
};

// The directory part of a path (ending in a backslash) and its file name.
void SplitPath(const std::string& path, std::string* dir, std::string* name) {
  size_t cut = 0;
  for (const char* p = path.c_str(); *p; p = CharNextA(p)) {
    if (*p == '\\' && CharNextA(p) == p + 1) cut = static_cast<size_t>(p - path.c_str()) + 1;
  }
  *dir = path.substr(0, cut);
  *name = path.substr(cut);
}

bool CreateDirectoryTree(const std::string& dir, DWORD* error) {
  std::string partial;
  for (const char* p = dir.c_str(); *p; p = CharNextA(p)) {
    const char* next = CharNextA(p);
    partial.append(p, next);
    bool separator = *p == '\\' && next == p + 1;
    if (!separator || partial.size() <= 3 || partial.rfind("\\\\", 0) == 0) continue;
    if (!CreateDirectoryA(partial.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
      *error = GetLastError();
      return false;
    }
  }
  return true;
}

// Renames the finished temporary file over the target. A target in use (a
// loaded driver) cannot be replaced but can be renamed: it is moved aside and
// deleted now or, while still in use, at the next boot.
bool PutInPlace(const char* temp, const std::string& dst, const std::string& dir) {
  const DWORD flags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
  if (MoveFileExA(temp, dst.c_str(), flags)) return true;
  DWORD error = GetLastError();
  if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) return false;
  char aside[MAX_PATH];
  if (!GetTempFileNameA(dir.c_str(), "old", 0, aside)) {
    SetLastError(error);
    return false;
  }
  DeleteFileA(aside);
  if (!MoveFileExA(dst.c_str(), aside, MOVEFILE_WRITE_THROUGH)) {
    SetLastError(error);
    return false;
  }
  if (!MoveFileExA(temp, dst.c_str(), flags)) {
    DWORD failed = GetLastError();
    MoveFileExA(aside, dst.c_str(), flags);  // put the old file back
    SetLastError(failed);
    return false;
  }
  if (!DeleteFileA(aside)) MoveFileExA(aside, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  FWriteToLogFile(("Replaced " + dst + " while it was in use").c_str(), TRUE);
  return true;
}

// One write, checked: a short write that reports success (Wine on a full
// disk) or a failure that sets no error code is a full disk. The last error
// is cleared first, since a stale one (183 from CreateDirectoryA) would
// otherwise be taken for the reason.
bool WriteChunk(HANDLE out, const char* data, DWORD size, DWORD* put, DWORD* error) {
  *put = 0;
  SetLastError(ERROR_SUCCESS);
  BOOL wrote = WriteFile(out, data, size, put, nullptr);
  *error = GetLastError();
  if (wrote && *put == size) return true;
  if (wrote || *error == ERROR_SUCCESS) *error = ERROR_DISK_FULL;
  return false;
}

INT WriteFailureKind(DWORD error) {
  return (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL) ? grcDiskFull
                                                                       : grcCannotWrite;
}

bool CopyOneFile(const std::string& src, const std::string& dst, unsigned long long* done,
                 unsigned long long total, DWORD* copied, CopyFailure* failure) {
  RedirectionOff redirection;
  std::string dir, name, problem;
  SplitPath(dst, &dir, &name);
  if (!stf::IsSafeFileName(name, [](unsigned char b) { return IsDBCSLeadByte(b) != 0; },
                           &problem)) {
    *failure = {grcUnsafeName, ERROR_INVALID_NAME, "refused target name (" + problem + ")"};
    return false;
  }
  if (!CreateDirectoryTree(dir, &failure->error)) {
    *failure = {grcCannotWrite, failure->error, "CreateDirectoryA " + dir};
    return false;
  }
  HANDLE in = CreateFileA(src.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (in == INVALID_HANDLE_VALUE) {
    DWORD e = GetLastError();
    bool missing = e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND;
    *failure = {missing ? grcSourceMissing : grcReadError, e, "CreateFileA (read)"};
    return false;
  }
  char temp[MAX_PATH];
  if (!GetTempFileNameA(dir.c_str(), "stf", 0, temp)) {
    *failure = {grcCannotWrite, GetLastError(), "GetTempFileNameA in " + dir};
    CloseHandle(in);
    return false;
  }
  HANDLE out = CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  bool ok = out != INVALID_HANDLE_VALUE;
  if (!ok) *failure = {grcCannotWrite, GetLastError(), "CreateFileA (write) " + std::string(temp)};

  static char buffer[64 * 1024];
  *copied = 0;
  redirection.Pause();  // handles only, and the gauge paints
  while (ok) {
    DWORD got = 0, put = 0;
    if (!ReadFile(in, buffer, sizeof buffer, &got, nullptr)) {
      *failure = {grcReadError, GetLastError(), "ReadFile"};
      ok = false;
    } else if (got == 0) {
      break;
    } else if (!WriteChunk(out, buffer, got, &put, &failure->error)) {
      *failure = {WriteFailureKind(failure->error), failure->error,
                  "WriteFile (" + std::to_string(put) + " of " + std::to_string(got) + " bytes)"};
      ok = false;
    } else {
      *copied += got;
      *done += got;
      Progress(*done, total);
    }
  }
  if (ok) {
    FILETIME created, accessed, written;
    if (GetFileTime(in, &created, &accessed, &written)) SetFileTime(out, nullptr, nullptr, &written);
    if (!FlushFileBuffers(out)) {
      *failure = {WriteFailureKind(GetLastError()), GetLastError(), "FlushFileBuffers"};
      ok = false;
    }
  }
  if (out != INVALID_HANDLE_VALUE && !CloseHandle(out) && ok) {
    *failure = {WriteFailureKind(GetLastError()), GetLastError(), "CloseHandle"};
    ok = false;
  }
  CloseHandle(in);
  redirection.Resume();
  if (ok && !PutInPlace(temp, dst, dir)) {
    *failure = {grcCannotWrite, GetLastError(), "MoveFileExA onto the target"};
    ok = false;
  }
  if (!ok) DeleteFileA(temp);
  return ok;
}

// Tells the user which file failed and why; true when they want a retry.
bool AskRetry(const std::string& src, const std::string& dst, const CopyFailure& failure) {
  char system[512];
  std::string text = "Setup cannot copy the file\n\n" + src + "\n\nto\n\n" + dst + "\n\n" +
                     StfErrorText(failure.error, system, sizeof system) +
                     "\n\nChoose Retry to try again, or Cancel to end setup.";
  if (StfQuiet()) return false;
  return MessageBoxA(StfTopDialog(), text.c_str(), CAPTION_ERROR,
                     MB_RETRYCANCEL | MB_ICONEXCLAMATION | MB_TASKMODAL) == IDRETRY;
}

unsigned long long TotalBytes() {
  RedirectionOff redirection;
  unsigned long long total = 0;
  char src[MAX_PATH * 2], dst[MAX_PATH * 2];
  for (INT i = 0; StfGetCopyEntry(i, src, sizeof src, dst, sizeof dst, nullptr); ++i) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExA(src, GetFileExInfoStandard, &data)) {
      total += (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
  }
  return total;
}

}  // namespace

extern "C" INT STFAPI GrcCopyFilesInCopyList(HINSTANCE) {
  BillboardShow show;
  if (!show.Start()) return grcNoBillboard;
  billboards = &show;
  bool windows = !StfQuiet();
  windowsUp = windows;
  if (windows) OpenGauge(HwndFrame(), StfTopDialog());

  unsigned long long total = TotalBytes(), done = 0;
  INT grc = grcOkay;
  char src[MAX_PATH * 2], dst[MAX_PATH * 2];
  for (INT i = 0; grc == grcOkay && StfGetCopyEntry(i, src, sizeof src, dst, sizeof dst, nullptr);
       ++i) {
    for (;;) {
      unsigned long long before = done;
      DWORD copied = 0;
      CopyFailure failure{grcOkay, 0, ""};
      if (CopyOneFile(src, dst, &done, total, &copied, &failure)) {
        StfLogCopied(src, dst, copied);
        break;
      }
      done = before;
      std::string what = "Cannot copy " + std::string(src) + " to " + dst + ": " + failure.step;
      SetLastError(failure.error);
      StfLogError(what.c_str(), failure.error);
      if (!AskRetry(src, dst, failure)) {
        grc = windows ? grcUserAbort : failure.grc;
        break;
      }
    }
  }
  if (windows) CloseGauge();
  if (grc != grcOkay) {
    FWriteToLogFile(("Copy stopped with result " + std::to_string(grc) +
                     (grc == grcUserAbort ? " (the user chose Cancel)" : ""))
                        .c_str(),
                    TRUE);
  }
  billboards = nullptr;
  windowsUp = false;
  if (quitSeen) PostQuitMessage(quitCode);
  quitSeen = false;
  // After a success the billboard stays for the caller to remove.
  if (grc != grcOkay) show.Remove();
  return grc;
}
