#include "copy_recovery.h"

#include "ansi_text.h"

namespace stf {
namespace {

bool Exists(FileSystem& fs, const std::string& path) {
  FileStat stat;
  return fs.Stat(path, &stat) == 0;
}

// Where a killed run stopped in PlaceEntry, it goes on from there.
SysError ResumeEntry(FileSystem& fs, const JournalEntry& e, bool* useLinks, std::string* call) {
  if (!Exists(fs, e.staged)) return 0;  // already in place
  std::uint32_t cleared = 0;
  SysError error = ClearAttributes(fs, e.target, &cleared);
  if (error == 0 && e.had && Exists(fs, e.busy)) {
    error = fs.Move(e.staged, e.target, false);
  } else if (error == 0 && e.had && Exists(fs, e.old)) {
    // Linked, or renamed aside without links: the target may still be the old file.
    error = fs.Move(e.staged, e.target, true);
    if (IsBusy(error) && (error = fs.Move(e.target, e.busy, false)) == 0) {
      error = fs.Move(e.staged, e.target, false);
    }
  } else if (error == 0) {
    Placement how;
    return PlaceEntry(fs, e, useLinks, &how, call);
  }
  if (error != 0) *call = "MoveFileExA " + e.staged + " to " + e.target;
  return error;
}

// A killed undo must be undone again, never completed: the journal says so first.
bool MarkUndo(FileSystem& fs, CopyUser& user, Journal* journal, const std::string& path) {
  journal->state = JournalState::kUndo;
  std::string call;
  const SysError error = WriteJournal(fs, *journal, path, journal->dir + kJournalScratchName, &call);
  if (error != 0) user.LogError(call, error);
  return error == 0;
}

// A file goes now or at the next boot; a link or junction is removed as a
// name, never followed.
void RemoveTree(FileSystem& fs, CopyUser& user, const std::string& path, bool* ok) {
  FileStat stat;
  if (fs.Stat(path, &stat) != 0) return;
  SysError error = 0;
  if (stat.directory && !(stat.attributes & kAttributeReparsePoint)) {
    std::vector<std::string> names;
    if ((error = fs.ListDir(path, &names)) == 0) {
      for (const std::string& name : names) RemoveTree(fs, user, path + "\\" + name, ok);
      error = fs.RemoveDir(path);
    }
  } else {
    error = stat.directory ? fs.RemoveDir(path) : RemoveFile(fs, path);
  }
  if (error == 0 || IsMissing(error)) return;
  const SysError deferred = fs.DeleteAtReboot(path);
  user.LogNote(deferred == 0
                   ? path + " cannot be removed now (error " + std::to_string(error) +
                         "); it will be removed when Windows restarts"
                   : "Cannot remove " + path + " (error " + std::to_string(error) + ", " +
                         std::to_string(deferred) + " at restart)");
  *ok = false;
}

std::string Refusal(const std::string& path, const std::string& why) {
  const std::string dir = path.substr(0, path.rfind('\\') + 1);
  return "The journal " + path + " of an earlier copy cannot be trusted: " + why +
         ". Setup changed nothing. The files it names in " + dir +
         " may be partly old and partly new (the other copies are in its ~stf*.tmp folders):"
         " check them, then delete the journal and run setup again";
}

}  // namespace

bool FinishCopy(FileSystem& fs, CopyUser& user, PendingCopy* pending) {
  if (pending->journalPath.empty()) return true;
  const bool ok = CleanUp(fs, user, pending->journal, &pending->placements, pending->journalPath);
  pending->journalPath.clear();
  return ok;
}

bool UndoCopy(FileSystem& fs, CopyUser& user, PendingCopy* pending) {
  if (pending->journalPath.empty()) return true;
  const std::string path = pending->journalPath;
  if (!MarkUndo(fs, user, &pending->journal, path)) {
    user.LogNote("The copy cannot be undone: its files stay as they are, and the next run of "
                 "setup completes it");
    return false;
  }
  if (!RollBack(fs, user, pending->journal)) {
    user.LogNote("The copy was not wholly undone; the next run of setup undoes the rest");
    return false;
  }
  bool ok = CleanUp(fs, user, pending->journal, nullptr, path);
  for (auto dir = pending->created.rbegin(); dir != pending->created.rend(); ++dir) {
    const SysError error = fs.RemoveDir(*dir);
    if (error == 0) {
      user.LogNote("Removed the folder " + *dir);
    } else if (!IsMissing(error)) {
      user.LogNote("Left the folder " + *dir + " (error " + std::to_string(error) + ")");
    }
  }
  pending->journalPath.clear();
  pending->changes = 0;
  return ok;
}

Recovery RecoverInterruptedCopy(FileSystem& fs, CopyUser& user, const std::string& journalPath) {
  std::string text, why;
  SysError error = ReadJournal(fs, journalPath, &text);
  if (IsMissing(error)) return Recovery::kNone;
  Journal journal;
  if (error != 0) {
    user.LogError(Refusal(journalPath, "it cannot be read"), error);
    return Recovery::kRefused;
  }
  if (!ParseJournal(text, journalPath, &journal, &why)) {
    user.LogError(Refusal(journalPath, why), kErrorInvalidData);
    return Recovery::kRefused;
  }
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
    if (!completed && !MarkUndo(fs, user, &journal, journalPath)) return Recovery::kFailed;
  }
  if (!completed && !RollBack(fs, user, journal)) return Recovery::kFailed;
  user.LogNote("An interrupted copy was found (" + journalPath + ") and " +
               (completed ? "completed" : "rolled back"));
  if (!CleanUp(fs, user, journal, nullptr, journalPath)) return Recovery::kFailed;
  return completed ? Recovery::kCompleted : Recovery::kRolledBack;
}

void SweepLeftovers(FileSystem& fs, CopyUser& user, const std::string& dir) {
  std::vector<std::string> names;
  if (SysError error = fs.ListDir(dir, &names)) {
    user.LogNote("Cannot list " + dir + " for what earlier copies left (error " +
                 std::to_string(error) + ")");
    return;
  }
  for (const std::string& name : names) {
    if (!IsStagingName(name) && ToUpperAscii(name) != ToUpperAscii(kJournalScratchName)) continue;
    bool ok = true;
    RemoveTree(fs, user, dir + name, &ok);
    if (ok) user.LogNote("Removed " + dir + name + ", left by an earlier copy");
  }
}

}  // namespace stf
