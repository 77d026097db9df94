#include "copy_transaction.h"

namespace stf {
namespace {

bool Exists(FileSystem& fs, const std::string& path) {
  FileStat stat;
  return fs.Stat(path, &stat) == 0;
}

bool Logged(CopyUser& user, SysError error, const std::string& call) {
  if (error == 0 || IsMissing(error)) return true;
  user.LogError(call, error);
  return false;
}

// An old file still in use goes at the next boot.
bool DeleteOrDefer(FileSystem& fs, CopyUser& user, const std::string& path, const char* what) {
  SysError error = fs.Delete(path);
  if (!IsBusy(error)) return Logged(user, error, "DeleteFileA " + path);
  if (!Logged(user, fs.DeleteAtReboot(path), "MoveFileExA (delete at restart) " + path)) {
    return false;
  }
  user.LogNote(std::string("The ") + what + " " + path +
               " is in use; it will be removed when Windows restarts");
  return true;
}

void RollBackEntry(FileSystem& fs, CopyUser& user, const JournalEntry& e, bool* ok) {
  // The old file under <busy> is the target itself; <old> is a second name.
  const std::string& keeper = Exists(fs, e.busy) ? e.busy : e.old;
  if (e.had && Exists(fs, keeper)) {
    *ok &= Logged(user, fs.Move(keeper, e.target, true),
                  "MoveFileExA " + keeper + " back to " + e.target);
  } else if (!e.had && !Exists(fs, e.staged)) {
    // Put in place where there was no file before.
    *ok &= Logged(user, fs.Delete(e.target), "DeleteFileA " + e.target);
  }
}

// Where a killed run stopped in PlaceEntry, it goes on from there.
SysError ResumeEntry(FileSystem& fs, const JournalEntry& e, bool* useLinks, std::string* call) {
  if (!Exists(fs, e.staged)) return 0;  // already in place
  SysError error = 0;
  if (e.had && Exists(fs, e.busy)) {
    error = fs.Move(e.staged, e.target, false);
  } else if (e.had && Exists(fs, e.old)) {
    // Linked, or renamed aside without links: the target may still be the old file.
    error = fs.Move(e.staged, e.target, true);
    if (IsBusy(error) && (error = fs.Move(e.target, e.busy, false)) == 0) {
      error = fs.Move(e.staged, e.target, false);
    }
  } else {
    Placement how;
    return PlaceEntry(fs, e, useLinks, &how, call);
  }
  if (error != 0) *call = "MoveFileExA " + e.staged + " to " + e.target;
  return error;
}

}  // namespace

SysError PlaceEntry(FileSystem& fs, const JournalEntry& e, bool* useLinks, Placement* how,
                    std::string* call) {
  std::string aside = e.old;
  *how = e.had ? Placement::kMovedAside : Placement::kFresh;
  bool linked = e.had && Exists(fs, e.old);  // made when the file was staged
  if (e.had && !linked && *useLinks) {
    linked = fs.Link(e.target, e.old) == 0;
    *useLinks = linked;  // a volume without links: the rest are renamed
  }
  if (linked) {
    const SysError error = fs.Move(e.staged, e.target, true);
    if (error == 0) {
      *how = Placement::kLinked;
      return 0;
    }
    if (!IsBusy(error)) {
      *call = "MoveFileExA " + e.staged + " over " + e.target;
      return error;
    }
    aside = e.busy;  // in use: renamed aside, the link stays until the clean-up
    *how = Placement::kLinkedAndMoved;
  }
  if (e.had) {
    if (SysError error = fs.Move(e.target, aside, false)) {
      *call = "MoveFileExA " + e.target + " aside to " + aside;
      return error;
    }
  }
  const SysError error = fs.Move(e.staged, e.target, false);
  if (error != 0) *call = "MoveFileExA " + e.staged + " to " + e.target;
  return error;
}

bool RollBack(FileSystem& fs, CopyUser& user, const Journal& journal) {
  bool ok = true;
  for (auto e = journal.entries.rbegin(); e != journal.entries.rend(); ++e) {
    if (journal.state == JournalState::kCommit) RollBackEntry(fs, user, *e, &ok);
    ok &= Logged(user, fs.Delete(e->staged), "DeleteFileA " + e->staged);
  }
  return ok;
}

bool CleanUp(FileSystem& fs, CopyUser& user, const Journal& journal,
             const std::vector<Placement>* placements, const std::string& journalPath) {
  bool ok = true;
  for (std::size_t i = 0; i < journal.entries.size(); ++i) {
    const JournalEntry& e = journal.entries[i];
    const Placement how = placements ? (*placements)[i] : Placement::kUnknown;
    const bool unknown = how == Placement::kUnknown;
    if (unknown || how == Placement::kLinked || how == Placement::kLinkedAndMoved) {
      ok &= DeleteOrDefer(fs, user, e.old, "old file");
    }
    if (how == Placement::kMovedAside) ok &= DeleteOrDefer(fs, user, e.old, "replaced file");
    if (unknown || how == Placement::kLinkedAndMoved) {
      ok &= DeleteOrDefer(fs, user, e.busy, "replaced file");
    }
    if (unknown) ok &= Logged(user, fs.Delete(e.staged), "DeleteFileA " + e.staged);
  }
  if (!journal.scratch.empty()) {
    ok &= Logged(user, fs.Delete(journal.scratch), "DeleteFileA " + journal.scratch);
  }
  for (auto stage = journal.stages.rbegin(); stage != journal.stages.rend(); ++stage) {
    SysError error = fs.RemoveDir(*stage);
    // Still holding a file that goes at the next boot: the directory follows it.
    if (error != 0 && !IsMissing(error)) error = fs.DeleteAtReboot(*stage);
    ok &= Logged(user, error, "RemoveDirectoryA " + *stage);
  }
  return Logged(user, fs.Delete(journalPath), "DeleteFileA " + journalPath) && ok;
}

bool RecoverInterruptedCopy(FileSystem& fs, CopyUser& user, const std::string& journalPath) {
  std::string text;
  SysError error = ReadJournal(fs, journalPath, &text);
  if (IsMissing(error)) return true;
  if (error != 0) {
    user.LogError("Cannot read the journal of an interrupted copy, " + journalPath, error);
    return false;
  }
  Journal journal;
  ParseJournal(text, &journal);
  bool completed = false;
  if (journal.state == JournalState::kCommit) {
    bool useLinks = true;
    std::string call;
    completed = true;
    for (const JournalEntry& e : journal.entries) {
      if ((error = ResumeEntry(fs, e, &useLinks, &call)) != 0) {
        user.LogError(call, error);
        completed = false;
        break;
      }
    }
  }
  if (!completed && !RollBack(fs, user, journal)) return false;
  user.LogNote("An interrupted copy was found (" + journalPath + ") and " +
               (completed ? "completed" : "rolled back"));
  return CleanUp(fs, user, journal, nullptr, journalPath);
}

}  // namespace stf
