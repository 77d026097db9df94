// Putting staged files in place as one change, undoing that change, and
// removing what a copy leaves once it is done (copy_journal.h).
//
// A target that exists gets a second name (a hard link, <old>; made as its
// file is staged, or else now) before the staged file replaces it, so that
// the directory never scans for a missing name and the old file survives
// until the end. Where the volume has no hard
// links, or the target is in use (a loaded driver can be renamed but not
// replaced), the target is renamed aside instead (to <old>, or <busy> when
// the link was made). A read-only, hidden or system target loses those
// attributes first: they, not a program, would refuse the replace.
#pragma once

#include <string>
#include <vector>

#include "copy_journal.h"

namespace stf {

// How an entry was put in place: which of <old> and <busy> exist afterwards.
enum class Placement { kUnknown, kFresh, kLinked, kMovedAside, kLinkedAndMoved };

// Clears the read-only, hidden and system attributes of path when it has
// any; *had gets them (0: none, or no such file).
SysError ClearAttributes(FileSystem& fs, const std::string& path, std::uint32_t* had);
// Deletes a file, clearing the attributes that refuse it; a missing one is
// fine. Any other failure is the delete's.
SysError RemoveFile(FileSystem& fs, const std::string& path);
// RemoveFile, or at the next boot when the file is in use (logged as what).
bool RemoveOrDefer(FileSystem& fs, CopyUser& user, const std::string& path, const char* what);

// Puts one entry's staged file in place. *useLinks is cleared when the
// volume refuses a link. On failure *call names the call that failed.
SysError PlaceEntry(FileSystem& fs, const JournalEntry& entry, bool* useLinks, Placement* how,
                    std::string* call);

// Undoes a copy: in the commit and undo states each old file goes back under
// its name (with its attributes) and each target that did not exist before
// is removed; in any state the staged files go. Each failure is logged,
// naming the file left as it is; false when any happened.
bool RollBack(FileSystem& fs, CopyUser& user, const Journal& journal);

// Removes what a copy leaves once it is done or undone: the old files (at the
// next boot when they are still in use), staged files, staging directories
// and the journal. placements, when known, spares the calls for names that
// do not exist. Failures are logged; false when any happened.
bool CleanUp(FileSystem& fs, CopyUser& user, const Journal& journal,
             const std::vector<Placement>* placements, const std::string& journalPath);

}  // namespace stf
