// GrcCopyFilesInCopyList: the copy list goes to the core's copy job, which
// decides everything (the disk's manifest checked on the staged bytes
// included); this side shows the billboards and the gauge, keeps the windows
// painted, asks the person, judges each staged file's signature and writes
// the log.
#include <string>

#include "copy_job.h"
#include "copy_list.h"
#include "disk_manifest.h"
#include "failure_words.h"
#include "sha256.h"
#include "platform/setup-toolkit/install/install_state.h"
#include "platform/setup-toolkit/language_resources.h"
#include "platform/setup-toolkit/install/progress_gauge.h"
#include "platform/setup-toolkit/install/win32_file_system.h"

namespace {

const wchar_t kRetryEnglish[] = L"%1\n\n%2\n\nChoose Retry to try again, or Cancel to end setup.";
const wchar_t kKeepNewerEnglish[] =
    L"The installed file\n\n%1\n\nis newer (version %2) than the one on the disk (%3).\n\n"
    L"Keep the installed file? Yes is recommended.";
const wchar_t kKeepVersionedEnglish[] =
    L"The installed file\n\n%1\n\nhas a version (%2); the one on the disk has none.\n\n"
    L"Keep the installed file? Yes is recommended.";

// A question of the copy in the language of the windows, over the top dialog;
// a failure's under the error caption.
int Ask(UINT id, const wchar_t* english, const std::string* given, int count, bool failure,
        UINT style) {
  WCHAR form[2048], caption[512];
  StfLanguageText(id, english, form, 2048);
  std::wstring inserts[3];
  for (int i = 0; i < count; ++i) inserts[i] = StfWideText(given[i]);
  const std::wstring text = StfFillText(form, inserts, count);
  StfSpokenTitle(failure, caption, 512);
  return StfShowBox(StfTopDialog(), text.c_str(), caption, style | MB_TASKMODAL);
}

class Win32CopyUser : public stf::CopyUser {
 public:
  // recorded: the files are judged by the record the caller gives, not by the disk.
  Win32CopyUser(bool windows, bool recorded = false) : windows_(windows), recorded_(recorded) {}

  // A quit message met while copying is posted again afterwards, for the
  // program's own loop.
  ~Win32CopyUser() override {
    if (gaugeOpen_) CloseGauge();
    if (quitSeen_) PostQuitMessage(quitCode_);
  }

  void Progress(std::uint64_t done, std::uint64_t total) override {
    OpenGaugeOnce();
    SetGaugeProgress(done, total);
    if (windows_) PumpMessages();
  }

  bool ShowBillboard(std::size_t index) override {
    const Billboard& b = RegisteredBillboards()[index];
    if (!StfShowBillboard(b.dll.c_str(), b.id, b.proc.c_str())) return false;
    OpenGaugeOnce();  // placed clear of the first billboard
    return true;
  }

  void RemoveBillboard() override { FKillNDialogs(1); }

  bool AskRetry(const std::string& problem, stf::SysError error) override {
    char system[512];
    const std::string inserts[] = {problem, StfErrorText(error, system, sizeof system)};
    return Ask(IDS_STF_COPY_RETRY, kRetryEnglish, inserts, 2, true,
               MB_RETRYCANCEL | MB_ICONEXCLAMATION) == IDRETRY;
  }

  bool AskKeepNewer(const std::string& target, const stf::FileVersion& installed,
                    const stf::FileVersion& source) override {
    const std::string inserts[] = {target, stf::VersionText(installed), stf::VersionText(source)};
    return Ask(IDS_STF_KEEP_NEWER, kKeepNewerEnglish, inserts, 3, false,
               MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1) != IDNO;
  }

  bool AskKeepVersioned(const std::string& target, const stf::FileVersion& installed) override {
    const std::string inserts[] = {target, stf::VersionText(installed)};
    return Ask(IDS_STF_KEEP_VERSIONED, kKeepVersionedEnglish, inserts, 2, false,
               MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1) != IDNO;
  }

  void LogError(const std::string& text, stf::SysError error) override {
    SetLastError(error);
    StfLogError(text.c_str(), error);
  }

  void LogFileError(const std::string& text, stf::SysError error, const std::string& file,
                    bool reading) override {
    StfLogFailure(text.c_str(), reading ? stf::kOperationRead : stf::kOperationWrite,
                  file.c_str(), error);
  }

  // The staged bytes have matched the manifest in the copy; the signature
  // is judged on them too, never on the source opened again.
  bool AcceptStaged(const std::string& source, const std::string& staged) override {
    if (recorded_) return true;  // the staged bytes matched the record
    return StfCheckLandedFile(source.c_str(), staged.c_str(), TRUE) != FALSE;
  }

  void Copying(const std::string& name) override {
    OpenGaugeOnce();
    if (windows_) SetGaugeFile(name.c_str());
  }

  void LogCopied(const std::string& source, const std::string& target,
                 std::uint64_t bytes) override {
    StfLogCopied(source.c_str(), target.c_str(), static_cast<DWORD>(bytes));
  }

  void LogNote(const std::string& text) override { FWriteToLogFile(text.c_str(), TRUE); }

 private:
  void OpenGaugeOnce() {
    if (!windows_ || gaugeOpen_) return;
    OpenGauge(HwndFrame(), StfTopDialog());
    gaugeOpen_ = true;
  }

  // Lets the windows paint between chunks (a few times a second), so that
  // the frame, the billboard and the gauge stay drawn during a long copy.
  // Input does no harm: the frame and every dialog below the billboard are
  // disabled.
  void PumpMessages() {
    const DWORD now = GetTickCount();
    if (quitSeen_ || now - lastPump_ < 100) return;
    lastPump_ = now;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        quitSeen_ = true;
        quitCode_ = static_cast<int>(msg.wParam);
        return;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }

  bool windows_;
  bool recorded_;
  bool gaugeOpen_ = false;
  bool quitSeen_ = false;
  int quitCode_ = 0;
  DWORD lastPump_ = 0;
};

}  // namespace

// A copy still pending is made final first: only the last copy can be undone.
extern "C" INT STFAPI GrcCopyFilesInCopyList(HINSTANCE) {
  // The processor's SHA instructions, where the system saves their registers.
  stf::UseSha256Instructions(IsProcessorFeaturePresent(PF_XMMI64_INSTRUCTIONS_AVAILABLE) != FALSE);
  FCommitCopyList();
  stf::CopyJob job;
  INT count = 0;
  const stf::CopyEntryView* entries = StfCopyListEntries(&count);
  job.items = stf::CopyItemsFrom(entries, static_cast<std::size_t>(count));
  // The manifest's word on each source; the copy checks the staged bytes against it.
  for (stf::CopyItem& item : job.items) StfDiskFileExpected(item.source.c_str(), &item.expected);
  job.diskSigned = StfDiskSigned() != FALSE;
  for (const Billboard& b : RegisteredBillboards()) job.billboardTicks.push_back(b.ticks);
  job.quiet = StfQuiet();
  job.tag = GetTickCount() ^ (GetCurrentProcessId() << 16);
  job.isLead = StfIsLeadByte;
  // One file's flush has no next file to overlap with: it is done in line.
  Win32FileSystem files(job.items.size() > 1);
  Win32CopyUser user(!StfWindowless());  // passive: the gauge shows, nothing asks
  return stf::RunCopyJob(job, files, user, &LastCopy());
}

extern "C" INT STFAPI GrcCopyRecordedFile(LPCSTR source, LPCSTR target, LPCSTR record) {
  FCommitCopyList();
  stf::CopyJob job;
  stf::CopyItem item;
  item.source = source ? source : "";
  item.target = target ? target : "";
  item.expected.listed = stf::ParseRecordedBytes(record ? record : "", &item.expected.size,
                                                item.expected.digest);
  if (!item.expected.listed) {
    StfLogFailure("The record of the file to put back is not \"<sha256> <size>\"", "",
                  item.source.c_str(), ERROR_INVALID_DATA);
    return stf::grcReadError;
  }
  job.items.push_back(item);
  job.diskSigned = true;  // bytes that differ from the record stop it
  job.restoring = true;
  job.quiet = true;
  job.tag = GetTickCount() ^ (GetCurrentProcessId() << 16);
  job.isLead = StfIsLeadByte;
  Win32FileSystem files(false);  // one file: its flush in line
  Win32CopyUser user(false, true);
  return stf::RunCopyJob(job, files, user, &LastCopy());
}
