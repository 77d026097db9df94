// The process's one symbol table, INF file, copy list and log, owned by
// MSCOMSTF.dll; the other libraries reach them through its exports.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "copy_list.h"
#include "failure_words.h"
#include "inf_parser.h"
#include "run_state.h"
#include "symbols.h"
#include "platform/setup-toolkit/stf_internal.h"

stf::SymbolTable& Symbols();
stf::InfFile& OpenInf();  // empty until FOpenInf succeeds
bool InfIsOpen();
void SetOpenInf(stf::InfFile inf);
// The directory ids of an INF file read from this path (inf_directories.cpp).
stf::InfDirectoryIds InfDirectoriesFor(LPCSTR infFile);
stf::CopyList& ProcessCopyList();


// Copies text into a caller's buffer when it fits; the result is its length.
INT CopyOut(const std::string& text, LPSTR buffer, INT size);

// Writes a record to the log (when one is open). "Error: " records also go to
// standard error, and the first of a run of them becomes the run's cause (a
// record given as text only has no parts but its text).
bool LogRecord(const std::string& text);
// An "Error: " record with the parts of its cause.
bool LogFailure(const std::string& line, const stf::FailureCause& cause);

// The run's state (run_state_exports.cpp). A failure's first error record
// becomes its cause; once the outcome line is written it stays true.
stf::RunState& ProcessRunState();
void KeepFailureCause(const std::string& record, const stf::FailureCause& cause);
void MarkOutcomeWritten();

// The whole of a text file of the disk (setup.inf), read once and judged by
// the disk's manifest from the same bytes (disk_trust.cpp); false, logged,
// when it cannot be read or is refused, with *why.
bool ReadDiskText(const std::string& path, std::string* text, std::string* why);

// Reports a failure to the user (not in quiet mode) and to the log.
void ReportProblem(const std::string& text);

// The language's words for what the toolkit shows (language_text.cpp): a text
// by its English form, and the windows' title or a failure box's caption.
std::wstring SpokenText(const std::string& english);
std::wstring SpokenTitle(bool error);
// Do the message boxes sound (FSetBeepingMode)?
bool BoxesBeep();
