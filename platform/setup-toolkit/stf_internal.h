// What our toolkit libraries and our dialog library agree on among
// themselves; the program never uses any of this.
#pragma once

#include <string>

#include "contract/toolkit_api.h"

// Symbols the toolkit keeps (names compare without case).
#define STF_SYM_SRCDIR "STF_SRCDIR"    // source directory, ends in a backslash
#define STF_SYM_DLGEVENT "DLGEVENT"    // event word of the last dialog
#define STF_SYM_QUIET "STF_QUIET"      // "1" in quiet mode
#define STF_SYM_RESTART "STF_RESTART"  // "FORCE", "NO" or empty (not chosen)
#define STF_SYM_LOGFILE "STF_LOGFILE"  // path of the setup log, empty without one
#define STF_SYM_OUTCOME "STF_OUTCOME"  // the outcome line the log ends with
#define STF_SYM_CAUSE "STF_CAUSE"      // the first error record of the latest failure
#define STF_SYM_TITLE "STF_TITLE"      // the frame's title; the program's own name before it
// Its parts, for the error dialogs (failure_words.h): the record's text
// without its code, the operation and the file it was done to, the Win32 code.
#define STF_SYM_CAUSE_TEXT "STF_CAUSE_TEXT"
#define STF_SYM_CAUSE_OPERATION "STF_CAUSE_OPERATION"
#define STF_SYM_CAUSE_FILE "STF_CAUSE_FILE"
#define STF_SYM_CAUSE_CODE "STF_CAUSE_CODE"

extern "C" {

// MSUILSTF.dll, for dialog procedures: the user has acted on dialog hdlg; its
// event word goes into DLGEVENT and FDoDialogExt returns. 0: not a dialog of ours.
BOOL STFAPI FReturnDialogEvent(HWND hdlg, LPCSTR szEvent);

// Exported by a dialog library, looked up by name by MSUILSTF:
// "QuietEventWord": the answer of dialog idDlg's default button in quiet mode;
// fRestart is true when the command line chose a restart after a quiet install.
typedef LPCSTR(STFAPI* PFN_QUIET_EVENT_WORD)(UINT idDlg, BOOL fRestart);
// "DialogOutcome": what dialog idDlg left with szEvent means for the whole
// setup ("SUCCESS", "SUCCESS, restarting", "CANCELLED", "FAILED (...)"), or
// null when it decides nothing. The last non-null answer becomes STF_OUTCOME.
typedef LPCSTR(STFAPI* PFN_DIALOG_OUTCOME)(UINT idDlg, LPCSTR szEvent);

}  // extern "C"

// Window property that MSUILSTF sets on every dialog it shows: the dialog
// number, so that automation can tell the dialogs apart.
#define STF_PROP_DIALOG_ID "StfDialogId"
// Window property on the frame: the top-most dialog shown over it, which its
// close box closes as Alt+F4 would.
#define STF_PROP_TOP_DIALOG "StfTopDialog"
// The dialog number of the toolkit's own window of the switches (/help).
#define STF_DIALOG_USAGE 10

extern "C" {

// MSCOMSTF.dll, for our other libraries: the one symbol table, copy list and
// log of the process live there.
BOOL STFAPI StfSetSymbol(LPCSTR szSymbol, LPCSTR szValue);
// The copy list: entry i (from 0) with its paths and declared size.
INT STFAPI StfCopyListCount(void);
BOOL STFAPI StfGetCopyEntry(INT i, LPSTR szSrc, INT cbSrc, LPSTR szDst, INT cbDst,
                            LPDWORD pcbDeclared);
// Entry i's file record: its flags (field 15) and required version (field 19, "" for none).
BOOL STFAPI StfGetCopyEntryRecord(INT i, LPDWORD pdwFlags, LPSTR szVersion, INT cbVersion);
void STFAPI StfClearCopyList(void);
// Log records; the error record carries a Win32 code and the system's text for it.
void STFAPI StfLogError(LPCSTR szText, DWORD dwError);
// An error record whose cause the error dialogs can put in plain words:
// szOperation is "read" (a source file), "write" (a file being installed) or
// the Win32 call, szFile what it was done to. A null szText records
// "<operation> <file>". The programs look it up by name (toolkit/log_lines.h).
void STFAPI StfLogFailure(LPCSTR szText, LPCSTR szOperation, LPCSTR szFile, DWORD dwError);
void STFAPI StfLogCopied(LPCSTR szSrc, LPCSTR szDst, DWORD cbBytes);
// Writes the log's last line; nothing is written after it.
void STFAPI StfLogOutcome(LPCSTR szOutcome);

// MSUILSTF.dll: puts the billboard dialog on the dialog stack (windowless in
// quiet mode, and for a blank billboard, whose szDll is empty). 0: the dialog
// library, procedure or template is missing.
BOOL STFAPI StfShowBillboard(LPCSTR szDll, UINT idDlg, LPCSTR szProc);
// The top-most shown dialog window, for message boxes (null: the frame or none).
HWND STFAPI StfTopDialog(void);
// For the error dialogs: the latest failure in plain words (what failed and
// why, and what to do, empty when nothing follows from it) and the path of
// the log being written (empty without one). FALSE, with szWhat and
// szAdvice empty, when no failure is known.
BOOL STFAPI StfFailureWords(LPSTR szWhat, INT cbWhat, LPSTR szAdvice, INT cbAdvice, LPSTR szLog,
                            INT cbLog);

}  // extern "C"

extern "C" {

// MSSHLSTF.dll, looked up by name by the program (toolkit/unattended.h).
// The program could not start the setup: the text goes to the log and standard
// error. TRUE when the program must show no box: in quiet mode, and when the
// run ended before it began and the person has been told why (the switches
// asked for, a bad switch, another setup running, a log that cannot be opened).
BOOL STFAPI StfStartupFailure(LPCSTR szText);
// Windows refused the restart that ends the run: the log's outcome becomes
// "restart pending" again, and so does the exit code.
void STFAPI StfRestartRefused(DWORD dwError);
// The exit code of the run: the program's own code when a person saw the
// outcome, else Windows Installer's code for the outcome (run_outcome.h).
INT STFAPI StfExitCode(INT nProgramCode);

}  // extern "C"

// Quiet mode: no window needs a person and none is created.
inline bool StfQuiet() {
  char value[4] = "";
  return CbGetSymbolValue(STF_SYM_QUIET, value, sizeof value) == 1 && value[0] == '1';
}

// The title of the setup's windows and boxes, as the frame has it.
inline std::string StfTitle() {
  char value[256] = "";
  CbGetSymbolValue(STF_SYM_TITLE, value, sizeof value);
  return value[0] != '\0' ? value : "Setup";
}
// The caption of a box that reports a failure.
inline std::string StfErrorCaption() { return StfTitle() + " Error"; }

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
