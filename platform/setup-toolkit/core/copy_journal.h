// The journal of a copy in progress: a small text file in the first
// destination directory naming every file the copy makes or moves, so that
// a run that was killed can be completed or rolled back by the next one.
//
//   STF copy journal 2
//   dir <the directory the journal lies in, ending in a backslash>
//   state staging                  (or: state commit, state undo)
//   stage <staging directory>      (one line each, parents first)
//   scratch <path>                 (where the next journal is written first)
//   file <had>\t<attributes>\t<target>\t<new>\t<old>\t<busy>
//   sum <CRC-32 of every byte above this line, 8 hex digits>
//   end
//
// <had> is 1 when the target existed before the copy, <attributes> its
// attributes then (hex). <new> is the staged new file; <old> a second name
// (hard link) of the old target, made just before the new file replaces it;
// <busy> the old target renamed aside when it was in use. Paths hold no
// control characters, so tabs and line ends cannot be part of them.
//
// A journal is acted on only when it proves itself: its checksum and final
// line are there, it names the directory it lies in, and every path in it
// lies in a staging directory beside its target. Version 1 (no dir, sum or
// attributes) is read when it is whole and its paths agree; anything else is
// refused, never guessed at.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "copy_host.h"

namespace stf {

constexpr char kJournalName[] = "~stfcopy.jnl";
// The journal is written here first and then renamed over kJournalName.
constexpr char kJournalScratchName[] = "~stfcopy.new";

struct JournalEntry {
  bool had = false;
  std::uint32_t attributes = 0;  // of the target before the copy
  std::string target;
  std::string staged;  // <new>
  std::string old;
  std::string busy;
};

// kUndo: a commit being undone; a killed undo is undone again, never completed.
enum class JournalState { kStaging, kCommit, kUndo };

struct Journal {
  std::string dir;
  JournalState state = JournalState::kStaging;
  std::vector<std::string> stages;
  std::string scratch;
  std::vector<JournalEntry> entries;
};

std::string JournalText(const Journal& journal);
// False when the text does not prove itself as the journal at path (cut
// short, damaged, another directory's); *why then says how, for the log.
bool ParseJournal(const std::string& text, const std::string& path, Journal* out,
                  std::string* why);

// Writes the journal to path and flushes it: the text goes to scratch first
// and is moved over path, so that the journal on disk is always whole.
// *call names what failed.
SysError WriteJournal(FileSystem& fs, const Journal& journal, const std::string& path,
                      const std::string& scratch, std::string* call);
// Reads the journal at path; kErrorFileNotFound when there is none.
SysError ReadJournal(FileSystem& fs, const std::string& path, std::string* text);

// ~stf<8 hex digits>.tmp: the name of a staging folder.
bool IsStagingName(const std::string& name);

// CRC-32 (the polynomial of zip files).
std::uint32_t Crc32(const std::string& text);

}  // namespace stf
