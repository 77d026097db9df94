#include "copy_transaction.h"

namespace stf {
namespace {

// The attributes a file may be given back; the others are the system's.
constexpr std::uint32_t kSettableAttributes = kAttributesInTheWay | 0x20 /* archive */;

bool Exists(FileSystem& fs, const std::string& path) {
  FileStat stat;
  return fs.Stat(path, &stat) == 0;
}

bool Logged(CopyUser& user, SysError error, const std::string& call) {
  if (error == 0 || IsMissing(error)) return true;
  user.LogError(call, error);
  return false;
}

void RollBackEntry(FileSystem& fs, CopyUser& user, const JournalEntry& e, bool* ok) {
  // The old file under <busy> is the target itself; <old> is a second name.
  const std::string& keeper = Exists(fs, e.busy) ? e.busy : e.old;
  if (e.had && Exists(fs, keeper)) {
    std::uint32_t cleared = 0;
    SysError error = ClearAttributes(fs, e.target, &cleared);
    if (error == 0) error = fs.Move(keeper, e.target, true);
    if (!Logged(user, error, "MoveFileExA " + keeper + " back to " + e.target)) {
      user.LogNote("Left as it is: " + e.target + " (the file it replaced is " + keeper + ")");
      *ok = false;
      return;
    }
    if (e.attributes & kAttributesInTheWay) {
      *ok &= Logged(user, fs.SetAttributes(e.target, e.attributes & kSettableAttributes),
                    "SetFileAttributesA " + e.target);
    }
  } else if (!e.had && !Exists(fs, e.staged)) {
    // Put in place where there was no file before.
    if (!Logged(user, RemoveFile(fs, e.target), "DeleteFileA " + e.target)) {
      user.LogNote("Left as it is: " + e.target + " (it did not exist before the copy)");
      *ok = false;
    }
  }
}

}  // namespace

SysError ClearAttributes(FileSystem& fs, const std::string& path, std::uint32_t* had) {
  *had = 0;
  FileStat stat;
  SysError error = fs.Stat(path, &stat);
  if (error != 0) return IsMissing(error) ? 0 : error;
  *had = stat.attributes & kAttributesInTheWay;
  if (*had == 0) return 0;
  const std::uint32_t rest = stat.attributes & kSettableAttributes & ~kAttributesInTheWay;
  return fs.SetAttributes(path, rest != 0 ? rest : kAttributeNormal);
}

SysError RemoveFile(FileSystem& fs, const std::string& path) {
  SysError error = fs.Delete(path);
  if (error != kErrorAccessDenied) return IsMissing(error) ? 0 : error;
  std::uint32_t cleared = 0;
  if (ClearAttributes(fs, path, &cleared) != 0 || cleared == 0) return error;
  error = fs.Delete(path);
  return IsMissing(error) ? 0 : error;
}

bool RemoveOrDefer(FileSystem& fs, CopyUser& user, const std::string& path, const char* what) {
  const SysError error = RemoveFile(fs, path);
  if (!IsBusy(error)) return Logged(user, error, "DeleteFileA " + path);
  if (!Logged(user, fs.DeleteAtReboot(path), "MoveFileExA (delete at restart) " + path)) {
    return false;
  }
  user.LogNote(std::string("The ") + what + " " + path +
               " is in use; it will be removed when Windows restarts");
  return true;
}

SysError PlaceEntry(FileSystem& fs, const JournalEntry& e, bool* useLinks, Placement* how,
                    std::string* call) {
  std::string aside = e.old;
  *how = e.had ? Placement::kMovedAside : Placement::kFresh;
  std::uint32_t cleared = 0;
  if (e.had) {
    if (SysError error = ClearAttributes(fs, e.target, &cleared)) {
      *call = "SetFileAttributesA " + e.target;
      return error;
    }
  }
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
    if (journal.state != JournalState::kStaging) RollBackEntry(fs, user, *e, &ok);
    ok &= Logged(user, RemoveFile(fs, e->staged), "DeleteFileA " + e->staged);
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
      ok &= RemoveOrDefer(fs, user, e.old, "old file");
    }
    if (how == Placement::kMovedAside) ok &= RemoveOrDefer(fs, user, e.old, "replaced file");
    if (unknown || how == Placement::kLinkedAndMoved) {
      ok &= RemoveOrDefer(fs, user, e.busy, "replaced file");
    }
    if (unknown) ok &= Logged(user, RemoveFile(fs, e.staged), "DeleteFileA " + e.staged);
  }
  if (!journal.scratch.empty()) {
    ok &= Logged(user, RemoveFile(fs, journal.scratch), "DeleteFileA " + journal.scratch);
  }
  for (auto stage = journal.stages.rbegin(); stage != journal.stages.rend(); ++stage) {
    SysError error = fs.RemoveDir(*stage);
    // Still holding a file that goes at the next boot: the directory follows it.
    if (error != 0 && !IsMissing(error)) error = fs.DeleteAtReboot(*stage);
    ok &= Logged(user, error, "RemoveDirectoryA " + *stage);
  }
  return Logged(user, RemoveFile(fs, journalPath), "DeleteFileA " + journalPath) && ok;
}

}  // namespace stf
