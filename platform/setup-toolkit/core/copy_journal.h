// The journal of a copy in progress: a small text file in the first
// destination directory naming every file the copy makes or moves, so that
// a run that was killed can be completed or rolled back by the next one.
//
//   STF copy journal 1
//   state staging                  (or: state commit)
//   stage <staging directory>      (one line each, parents first)
//   scratch <path>                 (where the next journal is written first)
//   file <had>\t<target>\t<new>\t<old>\t<busy>
//   end
//
// <had> is 1 when the target existed before the copy. <new> is the staged
// new file; <old> a second name (hard link) of the old target, made just
// before the new file replaces it; <busy> the old target renamed aside when
// it was in use. Paths hold no control characters, so tabs and line ends
// cannot be part of them.
#pragma once

#include <string>
#include <vector>

#include "copy_host.h"

namespace stf {

constexpr char kJournalName[] = "~stfcopy.jnl";

struct JournalEntry {
  bool had = false;
  std::string target;
  std::string staged;  // <new>
  std::string old;
  std::string busy;
};

enum class JournalState { kStaging, kCommit };

struct Journal {
  JournalState state = JournalState::kStaging;
  std::vector<std::string> stages;
  std::string scratch;
  std::vector<JournalEntry> entries;
};

std::string JournalText(const Journal& journal);
// False when the text is not a whole journal (a write cut short); what could
// be read is in *out all the same, in the staging state.
bool ParseJournal(const std::string& text, Journal* out);

// Writes the journal to path and flushes it. With scratch (a path in a
// staging directory) the new text goes there first and is moved over path,
// so that the journal on disk is always whole. *call names what failed.
SysError WriteJournal(FileSystem& fs, const Journal& journal, const std::string& path,
                      const std::string& scratch, std::string* call);
// Reads the journal at path; kErrorFileNotFound when there is none.
SysError ReadJournal(FileSystem& fs, const std::string& path, std::string* text);

}  // namespace stf
