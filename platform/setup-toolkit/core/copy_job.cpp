#include "copy_job.h"

#include <set>

#include "copy_plan.h"
#include "copy_run.h"
#include "disk_manifest.h"
#include "number_text.h"

namespace stf {
namespace {

// The staging directory of each destination directory holds its files in
// groups, so that no directory a new name is looked up in grows large.
constexpr std::size_t kFilesPerGroup = 64;
constexpr std::uint64_t kClusterBytes = 4096;
constexpr std::uint64_t kJournalBytesPerFile = 1024;

bool HasControlCharacter(const std::string& text) {
  for (unsigned char c : text) {
    if (c < 0x20 || c == 0x7F) return true;
  }
  return false;
}

std::string Hex(std::uint32_t value) { return HexText(value, 8); }

std::uint64_t RoundUp(std::uint64_t bytes) {
  return (bytes + kClusterBytes - 1) / kClusterBytes * kClusterBytes;
}

// "C:" or "\\server\share" for messages; the directory itself when relative.
std::string VolumeOf(const std::string& dir, LeadBytePredicate isLead) {
  const std::string drive = DriveOfPath(dir, isLead);
  if (drive.empty()) return dir;
  return drive.size() == 1 ? drive + ":" : drive;
}

// "read-only", "hidden and system", ... for the log.
std::string AttributeWords(std::uint32_t attributes) {
  std::vector<std::string> words;
  if (attributes & kAttributeReadOnly) words.push_back("read-only");
  if (attributes & kAttributeHidden) words.push_back("hidden");
  if (attributes & kAttributeSystem) words.push_back("system");
  std::string text;
  for (std::size_t i = 0; i < words.size(); ++i) {
    text += (i == 0 ? "" : i + 1 == words.size() ? " and " : ", ") + words[i];
  }
  return text;
}

}  // namespace

int RunCopyJob(const CopyJob& job, FileSystem& fs, CopyUser& user, PendingCopy* pending) {
  if (pending != nullptr) *pending = PendingCopy();
  return CopyRun(job, fs, user, pending).Run();
}

int CopyRun::Run() {
  if (!billboards_.Start()) return grcNoBillboard;
  int grc = CheckListed();
  if (grc == grcOkay) grc = Prepare();
  if (grc == grcOkay) grc = Plan();
  if (grc == grcOkay) grc = CheckSpace();
  if (grc == grcOkay) grc = MakeDirectories();
  if (grc == grcOkay && AnythingToStage()) grc = BeginStaging();
  if (grc == grcOkay) grc = StageAll();
  if (grc == grcOkay) grc = AcceptStaged();
  if (grc == grcOkay) grc = Commit();
  if (grc == grcOkay) return grc;
  Abandon();
  billboards_.Remove();
  user_.LogNote("Copy stopped with result " + std::to_string(grc) +
                (grc == grcUserAbort ? " (the user chose Cancel)" : ""));
  return grc;
}

// On a signed disk every source must be one the manifest lists, before
// anything is done; on an unsigned one an added file is noted.
int CopyRun::CheckListed() {
  for (const CopyItem& item : job_.items) {
    if (item.expected.listed) continue;
    const ManifestDecision decision =
        DecideManifest(item.source, ManifestMatch::kUnlisted, job_.diskSigned);
    if (decision.action == ManifestAction::kAccept) {
      user_.LogNote(decision.line);
      continue;
    }
    user_.LogFileError(decision.line, kErrorInvalidData, item.source, true);
    return grcChangedDisk;
  }
  return grcOkay;
}

// Names are checked, directories spelled as they are stored (each lookup of
// a differently spelled name costs a directory scan on some systems), and
// what a killed run left is finished first.
int CopyRun::Prepare() {
  std::set<std::string> seen;
  for (const CopyItem& item : job_.items) {
    CopyWork w;
    w.item = &item;
    std::string name, problem;
    SplitPath(item.target, job_.isLead, &w.dir, &name);
    if (HasControlCharacter(item.source) || HasControlCharacter(item.target) ||
        !IsSafeFileName(name, job_.isLead, &problem)) {
      user_.LogError("Refused the target " + item.target + " (" +
                         (problem.empty() ? "a control character" : problem) + ")",
                     kErrorInvalidName);
      return grcUnsafeName;
    }
    bool exists = false;
    w.dir = Spelled(w.dir, &exists);
    w.target = w.dir + name;
    if (seen.insert(w.dir).second) dirs_.push_back(w.dir);
    work_.push_back(w);
  }
  return Recover();
}

// A journal that does not prove itself stops the copy before anything
// changes; where none lies, staging folders are leftovers of ours.
int CopyRun::Recover() {
  for (const std::string& dir : dirs_) {
    if (!spelled_[dir].second) continue;
    const Recovery recovery = RecoverInterruptedCopy(fs_, user_, dir + kJournalName);
    if (recovery == Recovery::kRefused) return grcCannotWrite;
    if (recovery == Recovery::kFailed) {
      user_.LogError("The interrupted copy in " + dir + " can be neither completed nor undone",
                     kErrorAccessDenied);
      return grcCannotWrite;
    }
  }
  for (const std::string& dir : dirs_) {
    if (spelled_[dir].second) SweepLeftovers(fs_, user_, dir);
  }
  return grcOkay;
}

bool CopyRun::AnythingToStage() const {
  for (const CopyWork& w : work_) {
    if (!w.skipped) return true;
  }
  return false;
}

std::string CopyRun::Spelled(const std::string& dir, bool* exists) {
  auto known = spelled_.find(dir);
  if (known != spelled_.end()) {
    *exists = known->second.second;
    return known->second.first;
  }
  const std::size_t root = RootLength(dir, job_.isLead);
  std::string out = dir.substr(0, root), rest = dir.substr(root);
  *exists = true;
  while (!rest.empty()) {
    std::string component = TakeComponent(&rest, job_.isLead);
    FileStat stat;
    std::string stored;
    if (*exists && fs_.Stat(out + component, &stat) == 0 && stat.directory &&
        fs_.StoredName(out + component, &stored) == 0) {
      component = stored;
    } else {
      *exists = false;
    }
    out += component + "\\";
  }
  spelled_[dir] = spelled_[out] = {out, *exists};
  return out;
}

int CopyRun::Plan() {
  for (CopyWork& w : work_) {
    if (int grc = PlanFile(&w)) return grc;
    if (!w.skipped || w.unchanged) total_ += w.size;
  }
  return grcOkay;
}

// The source's size, and whether the target exists.
int CopyRun::PlanFile(CopyWork* w) {
  std::string sourceDir, name;
  SplitPath(w->item->source, job_.isLead, &sourceDir, &name);
  bool exists = false;
  sourceDir = Spelled(sourceDir, &exists);
  FileHandle source = nullptr;  // open from the probe to the comparison
  for (;;) {
    FileStat stat;
    SysError error = fs_.Stat(sourceDir + name, &stat);
    if (error == 0) {
      w->source = sourceDir + name;
      w->size = stat.size;
      if (int grc = ProbeSource(w, &source)) return grc;
      if (w->skipped) return grcOkay;
      break;
    }
    const CopyFailure failure{IsMissing(error) ? grcSourceMissing : grcReadError, error,
                              "GetFileAttributesExA " + sourceDir + name};
    const Next next = Failed(w, failure);
    if (next == Next::kSkip) return grcOkay;
    if (next == Next::kStop) return stopResult_;
  }
  FileStat stat;
  SysError error = spelled_[w->dir].second ? fs_.Stat(w->target, &stat) : kErrorPathNotFound;
  if (error == 0 && stat.directory) error = kErrorAccessDenied;
  if (error != 0 && !IsMissing(error)) {
    fs_.Close(source);
    user_.LogError("Cannot use the target " + w->target, error);
    return grcCannotWrite;
  }
  w->had = error == 0;
  w->attributes = w->had ? stat.attributes : 0;
  if (w->had) ReadInstalled(w, source, stat.size == w->size);
  fs_.Close(source);
  return grcOkay;
}

// Before anything changes: the new files must fit beside the old ones,
// which stay until every new file is in place.
int CopyRun::CheckSpace() {
  struct Volume {
    std::string dir;
    std::uint64_t need = 0;
  };
  std::map<std::string, Volume> volumes;
  std::vector<std::string> order;
  for (const CopyWork& w : work_) {
    if (w.skipped) continue;
    const std::string key = ToUpperAscii(VolumeOf(w.dir, job_.isLead));
    if (volumes.find(key) == volumes.end()) {
      order.push_back(key);
      volumes[key].dir = w.dir;
      volumes[key].need = kClusterBytes;
    }
    volumes[key].need += RoundUp(w.size) + kJournalBytesPerFile;
  }
  for (const std::string& key : order) {
    const Volume& v = volumes[key];
    for (;;) {
      std::uint64_t free = 0;
      std::string dir = v.dir, name;
      SysError error;
      // A directory still to be made: its nearest existing parent.
      while ((error = fs_.FreeSpace(dir, &free)) != 0 && IsMissing(error) && dir.size() > 1) {
        SplitPath(dir.substr(0, dir.size() - 1), job_.isLead, &dir, &name);
      }
      if (error != 0) {
        user_.LogNote("The free space on " + VolumeOf(v.dir, job_.isLead) +
                      " is not known (error " + std::to_string(error) + "); not checked");
        break;
      }
      if (free >= v.need) break;
      const std::string problem = "There is not enough free space on " +
                                  VolumeOf(v.dir, job_.isLead) + " for the files to install: " +
                                  std::to_string(v.need) + " bytes are needed, " +
                                  std::to_string(free) + " are free.";
      user_.LogError(problem, kErrorDiskFull);
      if (!RetryOrStop(problem, {grcDiskFull, kErrorDiskFull, problem})) return stopResult_;
    }
  }
  return grcOkay;
}

int CopyRun::MakeDirectories() {
  for (const std::string& dir : dirs_) {
    if (spelled_[dir].second) continue;
    const std::size_t root = RootLength(dir, job_.isLead);
    std::string partial = dir.substr(0, root), rest = dir.substr(root);
    while (!rest.empty()) {
      partial += TakeComponent(&rest, job_.isLead);
      SysError error;
      while ((error = fs_.MakeDir(partial)) != 0 && error != kErrorAlreadyExists) {
        user_.LogError("CreateDirectoryA " + partial, error);
        if (!RetryOrStop("Setup cannot create the folder\n\n" + partial,
                         {IsDiskFull(error) ? grcDiskFull : grcCannotWrite, error, ""})) {
          return stopResult_;
        }
      }
      if (error == 0) created_.push_back(partial);
      partial += "\\";
    }
    spelled_[dir].second = true;
  }
  return grcOkay;
}

// The journal names every file before the first one is made.
int CopyRun::BeginStaging() {
  std::map<std::string, std::string> stageOf;
  for (const std::string& dir : dirs_) {
    stageOf[dir] = dir + "~stf" + Hex(job_.tag) + ".tmp";
    journal_.stages.push_back(stageOf[dir]);
  }
  std::set<std::string> groups;
  for (std::size_t i = 0; i < work_.size(); ++i) {
    CopyWork& w = work_[i];
    const std::string group = stageOf[w.dir] + "\\" + std::to_string(i / kFilesPerGroup);
    if (groups.insert(group).second) journal_.stages.push_back(group);
    const std::string base = group + "\\" + std::to_string(i);
    w.entry = {w.had, w.attributes, w.target, base + ".new", base + ".old", base + ".use"};
    journal_.entries.push_back(w.entry);
  }
  journal_.dir = dirs_.front();
  journalPath_ = journal_.dir + kJournalName;
  journal_.scratch = journal_.dir + kJournalScratchName;
  journalWritten_ = true;  // even a failed write may leave a part of it
  for (;;) {
    std::string call;
    SysError error = WriteJournal(fs_, journal_, journalPath_, journal_.scratch, &call);
    for (std::size_t i = 0; error == 0 && i < journal_.stages.size(); ++i) {
      const std::string& stage = journal_.stages[i];
      if ((error = fs_.MakeDir(stage)) == kErrorAlreadyExists) error = 0;  // a try before
      if (error != 0) call = "CreateDirectoryA " + stage;
    }
    if (error == 0) return grcOkay;
    user_.LogFileError(call, error, dirs_.front(), false);
    if (!RetryOrStop("Setup cannot write to the folder\n\n" + dirs_.front(),
                     {IsDiskFull(error) ? grcDiskFull : grcCannotWrite, error, call})) {
      return stopResult_;
    }
  }
}

int CopyRun::StageAll() {
  buffer_.resize(job_.chunkBytes);
  for (CopyWork& w : work_) {
    if (int grc = StageFileWithRetries(&w)) return grc;
  }
  return SettleStaged();
}

int CopyRun::StageFileWithRetries(CopyWork* w) {
  if (!w->skipped) user_.Copying(w->target.substr(w->dir.size()));
  while (!w->skipped) {
    const CopyFailure failure = StageFile(w);
    if (failure.grc == grcOkay) break;
    if (Failed(w, failure) == Next::kStop) return stopResult_;
  }
  if (w->skipped) done_ += w->size;
  Progress();
  return grcOkay;
}

// Every staged file on the disk before any is put in place; a file whose
// flush failed is staged again (or skipped, or stops the copy).
int CopyRun::SettleStaged() {
  std::string path;
  while (SysError error = fs_.Settle(&path)) {
    for (CopyWork& w : work_) {
      if (w.skipped || w.entry.staged != path) continue;
      RemoveFile(fs_, path);
      if (w.had) RemoveFile(fs_, w.entry.old);  // its second name, made with the flush
      const CopyFailure failure{IsDiskFull(error) ? grcDiskFull : grcCannotWrite, error,
                                "FlushFileBuffers " + path};
      const Next next = Failed(&w, failure);
      if (next == Next::kStop) return stopResult_;
      if (next == Next::kRetry) {
        done_ -= w.size;
        if (int grc = StageFileWithRetries(&w)) return grc;
      }
    }
  }
  return grcOkay;
}

// The system's last word on each staged file (its signature), on the very
// bytes that are to be put in place.
int CopyRun::AcceptStaged() {
  for (const CopyWork& w : work_) {
    if (!w.skipped && !user_.AcceptStaged(w.source, w.entry.staged)) return grcChangedDisk;
  }
  return grcOkay;
}

// The commit journal lists the staged files only; once it is on disk a
// killed run is completed, not undone.
int CopyRun::Commit() {
  Journal commit = journal_;
  commit.state = JournalState::kCommit;
  commit.entries.clear();
  std::vector<const CopyWork*> staged;
  for (const CopyWork& w : work_) {
    if (w.skipped) continue;
    commit.entries.push_back(w.entry);
    staged.push_back(&w);
  }
  if (!journalWritten_) return grcOkay;
  std::string call;
  if (SysError error = WriteJournal(fs_, commit, journalPath_, journal_.scratch, &call)) {
    user_.LogError(call, error);
    return IsDiskFull(error) ? grcDiskFull : grcCannotWrite;
  }
  journal_ = commit;
  std::vector<Placement> placements(commit.entries.size(), Placement::kUnknown);
  bool useLinks = true;
  for (std::size_t i = 0; i < commit.entries.size(); ++i) {
    const JournalEntry& e = commit.entries[i];
    if (e.had && (e.attributes & kAttributesInTheWay)) {
      user_.LogNote("The installed file " + e.target + " was " + AttributeWords(e.attributes) +
                    "; the new file replaces it with normal attributes");
    }
    if (SysError error = PlaceEntry(fs_, e, &useLinks, &placements[i], &call)) {
      user_.LogError("Cannot put " + e.target + " in place: " + call, error);
      return grcCannotWrite;
    }
  }
  for (const CopyWork* w : staged) LogPlaced(*w);
  Finish(placements, staged.size());
  return grcOkay;
}

// The files the copy replaced go now, or stay for a caller that may undo it.
void CopyRun::Finish(const std::vector<Placement>& placements, std::size_t changes) {
  journalWritten_ = false;
  if (pending_ == nullptr || changes == 0) {
    CleanUp(fs_, user_, journal_, &placements, journalPath_);
    return;
  }
  pending_->journalPath = journalPath_;
  pending_->journal = journal_;
  pending_->placements = placements;
  pending_->created = created_;
  pending_->changes = changes;
}

// A stopped copy: the old set back, nothing of this run left.
void CopyRun::Abandon() {
  std::string path;
  while (fs_.Settle(&path) != 0) {
  }  // the staged files closed before they go; their failures no longer matter
  if (journalWritten_ && journal_.state == JournalState::kCommit) {
    // A killed undo must be undone again by the next run, never completed.
    journal_.state = JournalState::kUndo;
    std::string call;
    if (SysError error = WriteJournal(fs_, journal_, journalPath_, journal_.scratch, &call)) {
      user_.LogError(call, error);
      user_.LogNote("The copy could not be undone; setup completes it at its next run");
      return;
    }
  }
  if (journalWritten_) {
    if (!RollBack(fs_, user_, journal_) ||
        !CleanUp(fs_, user_, journal_, nullptr, journalPath_)) {
      user_.LogNote("The copy could not be wholly undone; setup undoes the rest at its next run");
      return;
    }
  }
  for (auto dir = created_.rbegin(); dir != created_.rend(); ++dir) fs_.RemoveDir(*dir);
}

CopyRun::Next CopyRun::Failed(CopyWork* w, const CopyFailure& failure) {
  const bool reading = failure.grc == grcSourceMissing || failure.grc == grcReadError ||
                       failure.grc == grcChangedDisk;
  user_.LogFileError("Cannot copy " + w->item->source + " to " + w->item->target + ": " +
                         failure.what,
                     failure.error, reading ? w->item->source : w->item->target, reading);
  if (failure.grc == grcChangedDisk) {  // no retry, no skip
    stopResult_ = failure.grc;
    return Next::kStop;
  }
  if (!w->item->vital) {
    user_.LogNote("Skipped " + w->item->target + ": the file is not vital");
    w->skipped = true;
    return Next::kSkip;
  }
  std::string problem = "Setup cannot copy the file\n\n" + w->item->source + "\n\nto\n\n" +
                        w->item->target;
  if (!damaged_.empty()) problem.swap(damaged_);
  damaged_.clear();
  return RetryOrStop(problem, failure)
             ? Next::kRetry
             : Next::kStop;
}

bool CopyRun::RetryOrStop(const std::string& problem, const CopyFailure& failure) {
  if (!job_.quiet && user_.AskRetry(problem, failure.error)) return true;
  stopResult_ = job_.quiet ? failure.grc : grcUserAbort;
  return false;
}

void CopyRun::Progress() {
  user_.Progress(done_ < total_ ? done_ : total_, total_);
  billboards_.Advance(done_, total_);
}

}  // namespace stf
