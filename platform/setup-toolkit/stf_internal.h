// What our toolkit libraries and our dialog library agree on among
// themselves; the program never uses any of this.
#pragma once

#include <string>

#include "contract/toolkit_api.h"
#include "platform/setup-toolkit/core/run_outcome.h"

// Symbols the toolkit keeps (names compare without case).
#define STF_SYM_SRCDIR "STF_SRCDIR"    // source directory, ends in a backslash
#define STF_SYM_DLGEVENT "DLGEVENT"    // event word of the last dialog
#define STF_SYM_LOGFILE "STF_LOGFILE"  // path of the setup log, empty without one
#define STF_SYM_LANGUAGE "STF_LANGUAGE"  // LANGID of the windows' language, in decimal
#define STF_SYM_MIRROR "STF_MIRROR"      // "1": the windows are mirrored (right to left)
// Written from the run's state (StfSetRunSwitches and the rest) for those who
// read symbols; the toolkit itself reads the state.
#define STF_SYM_QUIET "STF_QUIET"      // "1" in quiet mode
#define STF_SYM_RESTART "STF_RESTART"  // "FORCE", "NO" or empty (not chosen)
#define STF_SYM_TITLE "STF_TITLE"      // the frame's title; the program's own name before it
#define STF_SYM_OUTCOME "STF_OUTCOME"  // the outcome line the log ends with, once decided
#define STF_SYM_CAUSE "STF_CAUSE"      // the first error record of the latest failure
#define STF_SYM_CAUSE_TEXT "STF_CAUSE_TEXT"
#define STF_SYM_CAUSE_OPERATION "STF_CAUSE_OPERATION"
#define STF_SYM_CAUSE_FILE "STF_CAUSE_FILE"
#define STF_SYM_CAUSE_CODE "STF_CAUSE_CODE"
#define STF_SYM_CAUSE_TEXT_ID "STF_CAUSE_TEXT_ID"
#define STF_SYM_CAUSE_INSERT_1 "STF_CAUSE_INSERT_1"
#define STF_SYM_CAUSE_INSERT_2 "STF_CAUSE_INSERT_2"
#define STF_SYM_CAUSE_INSERT_3 "STF_CAUSE_INSERT_3"

// The parts of a failure's cause (StfGetCausePart), for the error dialogs
// (failure_words.h): the record's text without its code, the operation and
// the file it was done to, a box's inserts, and the whole record as one line.
#define STF_CAUSE_TEXT 0
#define STF_CAUSE_OPERATION 1
#define STF_CAUSE_FILE 2
#define STF_CAUSE_INSERT_1 3
#define STF_CAUSE_INSERT_2 4
#define STF_CAUSE_INSERT_3 5
#define STF_CAUSE_RECORD 6

namespace stf {
struct CopyEntryView;  // core/copy_list.h
struct ExpectedBytes;  // core/copy_job.h
}

// What our libraries export to each other, and what the programs look up by
// name, from the tables of contract/exports.h.
extern "C" {
#define STF_OP(result, name, parameters, arguments, fake)
#define STF_OWN(result, name, parameters, arguments) result STFAPI name parameters;
#define STF_BYNAME(result, name, parameters, arguments) result STFAPI name parameters;
#include "contract/exports.h"
}  // extern "C"

// MSUILSTF creates every dialog with its number as the WM_INITDIALOG lParam,
// so that the procedure knows which texts to show before anything else.

// Window property that MSUILSTF sets on every dialog it shows: the dialog
// number, so that automation can tell the dialogs apart.
#define STF_PROP_DIALOG_ID "StfDialogId"
// Window property on the frame: the top-most dialog shown over it, which its
// close box closes as Alt+F4 would.
#define STF_PROP_TOP_DIALOG "StfTopDialog"
// The dialog number of the toolkit's own window of the switches (/help).
#define STF_DIALOG_USAGE 10

// Lead bytes of the system's ANSI code page, for the core's double-byte walks.
inline bool StfIsLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != 0; }

// Writes text and a line end to standard error, when the process has one: a
// script that runs setup reads why it ended there.
inline void StfWriteStdErr(const std::string& text) {
  HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
  if (err == nullptr || err == INVALID_HANDLE_VALUE) return;
  const std::string line = text + "\r\n";
  DWORD written;
  WriteFile(err, line.c_str(), static_cast<DWORD>(line.size()), &written, nullptr);
}

// The system's text for a Win32 error code, without the trailing line break.
inline LPSTR StfErrorText(DWORD code, LPSTR buffer, DWORD size) {
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                           code, 0, buffer, size, nullptr);
  if (n == 0) wsprintfA(buffer, "error %lu", static_cast<unsigned long>(code));
  while (n > 0 && (buffer[n - 1] == '\n' || buffer[n - 1] == '\r' || buffer[n - 1] == ' ')) {
    buffer[--n] = '\0';
  }
  return buffer;
}
