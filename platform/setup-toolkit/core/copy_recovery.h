// What comes after a copy's files are in place, and what a killed run left:
// a placed copy is made final or undone; an interrupted one is completed or
// rolled back, when its journal proves itself; leftovers no journal names are
// removed.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "copy_transaction.h"

namespace stf {

// A copy whose files are in place while the files they replaced are kept
// (its journal on disk in the commit state), until FinishCopy or UndoCopy.
struct PendingCopy {
  std::string journalPath;  // empty: no copy is pending
  Journal journal;
  std::vector<Placement> placements;
  std::vector<std::string> created;  // directories the copy made, parents first
  std::size_t changes = 0;           // files put in place
};

// Makes the copy final: the replaced files (at the next boot when in use),
// the staging directories and the journal go. False when any could not be
// removed (logged). Harmless when none is pending.
bool FinishCopy(FileSystem& fs, CopyUser& user, PendingCopy* pending);
// Puts every replaced file back and removes every added one and the
// directories the copy made. False when anything is left as it is (each
// file named in the log); the journal then stays for the next run.
bool UndoCopy(FileSystem& fs, CopyUser& user, PendingCopy* pending);

enum class Recovery {
  kNone,        // no journal there
  kCompleted,   // an interrupted copy was completed
  kRolledBack,  // or undone
  kRefused,     // the journal does not prove itself: nothing was touched
  kFailed,      // it could be neither completed nor undone; the journal stays
};

// Completes (commit state) or rolls back (otherwise) the copy whose journal
// is at journalPath, if there is one. Every outcome but kNone is logged; a
// refused or unreadable journal as an error saying what to do.
Recovery RecoverInterruptedCopy(FileSystem& fs, CopyUser& user, const std::string& journalPath);

// Removes the staging folders (~stf<8 hex digits>.tmp) and the journal's
// scratch file that earlier copies left in dir; only called where no
// journal lies. Failures are logged as notes: they stop nothing.
void SweepLeftovers(FileSystem& fs, CopyUser& user, const std::string& dir);

}  // namespace stf
