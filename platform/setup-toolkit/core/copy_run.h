// The state of one run of the copy job (copy_job.h), shared by its files:
// copy_job.cpp (the order of the steps, the transaction) and copy_stage.cpp
// (one file: decisions and the staged copy).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "copy_billboards.h"
#include "copy_job.h"
#include "copy_journal.h"
#include "copy_transaction.h"
#include "packed_file.h"

namespace stf {

// One failed step: what to report and the result it gives the copy.
struct CopyFailure {
  int grc = grcOkay;
  SysError error = 0;
  std::string what;  // the call and its file, or the decision
};

// The copy's result for a failed write: a full disk is told apart.
int WriteFailure(SysError error);
// Reads of an open file, for the readers of versions and packed files.
ReadAt ReaderOf(FileSystem& fs, FileHandle file);

struct CopyWork {
  const CopyItem* item = nullptr;
  std::string source;  // paths as their directories spell them
  std::string target;
  std::string dir;     // of the target, ending in a backslash
  std::uint64_t size = 0;
  bool had = false;      // the target exists
  std::uint32_t attributes = 0;  // the target's
  bool installedVersioned = false;  // the target, read when planned, has a version:
  FileVersion installed;            // this one
  bool skipped = false;  // kept, unchanged, or not vital and failed
  bool unchanged = false;  // the installed file is the source's bytes already
  std::uint64_t written = 0;  // bytes the staged file got
  PackedFile packed;     // a compressed source: size is the expanded size
  Sha256 landing;        // of the bytes written to the staged file
  std::uint64_t packedSize = 0;
  JournalEntry entry;
};

class CopyRun {
 public:
  CopyRun(const CopyJob& job, FileSystem& fs, CopyUser& user, PendingCopy* pending)
      : job_(job), fs_(fs), user_(user), pending_(pending), billboards_(user, job.billboardTicks) {}
  int Run();

 private:
  enum class Next { kRetry, kSkip, kStop };

  // copy_job.cpp
  int Prepare();
  int Recover();
  int Plan();
  int PlanFile(CopyWork* w);
  int CheckSpace();
  int MakeDirectories();
  bool AnythingToStage() const;
  int BeginStaging();
  int StageAll();
  int StageFileWithRetries(CopyWork* w);
  int SettleStaged();
  int CheckListed();
  int AcceptStaged();
  int Commit();
  void Finish(const std::vector<Placement>& placements, std::size_t changes);
  void Abandon();
  std::string Spelled(const std::string& dir, bool* exists);
  Next Failed(CopyWork* w, const CopyFailure& failure);
  bool RetryOrStop(const std::string& problem, const CopyFailure& failure);
  void Progress();

  // copy_stage.cpp
  CopyFailure StageFile(CopyWork* w);
  CopyFailure CheckVersions(CopyWork* w, FileHandle source);
  void KeepOrReplace(CopyWork* w, bool keep, const std::string& why);
  CopyFailure CopyData(CopyWork* w, FileHandle source);
  CopyFailure EndStaging(const CopyWork& w, FileHandle source, FileHandle out,
                         std::uint64_t start, CopyFailure failure);
  CopyFailure MatchLanding(const CopyWork& w, std::uint64_t bytes);
  void ReadInstalled(CopyWork* w, FileHandle source, bool sameSize);
  bool SameAsInstalled(const CopyWork& w, FileHandle target, FileHandle source);

  // copy_expand.cpp
  int ProbeSource(CopyWork* w, FileHandle* opened);
  ReadAt SourceReader(const CopyWork& w, FileHandle source);
  CopyFailure ExpandData(CopyWork* w, FileHandle source);
  void LogPlaced(const CopyWork& w);

  const CopyJob& job_;
  FileSystem& fs_;
  CopyUser& user_;
  PendingCopy* pending_;
  BillboardSteps billboards_;
  std::vector<CopyWork> work_;
  std::map<std::string, std::pair<std::string, bool>> spelled_;  // dir -> spelling, exists
  std::vector<std::string> dirs_;     // target directories as spelled, in order
  std::vector<std::string> created_;  // directories this run made
  Journal journal_;
  std::string journalPath_;
  bool journalWritten_ = false;
  std::vector<char> buffer_;
  std::uint64_t total_ = 0;
  std::uint64_t done_ = 0;
  int stopResult_ = grcOkay;
  std::string damaged_;  // the words for a file that differs from the manifest
};

}  // namespace stf
