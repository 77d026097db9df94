// Putting staged files in place as one change, undoing that change, and
// completing or undoing one that a killed run left behind (copy_journal.h).
//
// A target that exists gets a second name (a hard link, <old>; made as its
// file is staged, or else now) before the staged file replaces it, so that
// the directory never scans for a missing name and the old file survives
// until the end. Where the volume has no hard
// links, or the target is in use (a loaded driver can be renamed but not
// replaced), the target is renamed aside instead (to <old>, or <busy> when
// the link was made).
#pragma once

#include <string>
#include <vector>

#include "copy_journal.h"

namespace stf {

// How an entry was put in place: which of <old> and <busy> exist afterwards.
enum class Placement { kUnknown, kFresh, kLinked, kMovedAside, kLinkedAndMoved };

// Puts one entry's staged file in place. *useLinks is cleared when the
// volume refuses a link. On failure *call names the call that failed.
SysError PlaceEntry(FileSystem& fs, const JournalEntry& entry, bool* useLinks, Placement* how,
                    std::string* call);

// Undoes a copy: in the commit state each old file goes back under its name
// and each target that did not exist before is removed; in either state the
// staged files go. Each failure is logged; false when any happened.
bool RollBack(FileSystem& fs, CopyUser& user, const Journal& journal);

// Removes what a copy leaves once it is done or undone: the old files (at the
// next boot when they are still in use), staged files, staging directories
// and the journal. placements, when known, spares the calls for names that
// do not exist. Failures are logged; false when any happened.
bool CleanUp(FileSystem& fs, CopyUser& user, const Journal& journal,
             const std::vector<Placement>* placements, const std::string& journalPath);

// Completes (commit state) or rolls back (otherwise) the copy whose journal
// is at journalPath, if there is one. False when that fails; the journal stays
// for a later run.
bool RecoverInterruptedCopy(FileSystem& fs, CopyUser& user, const std::string& journalPath);

}  // namespace stf
