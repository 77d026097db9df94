// What our toolkit libraries and our dialog library agree on among
// themselves; the program never uses any of this.
#pragma once

#include "toolkit/toolkit_api.h"

// Symbols the toolkit keeps (names compare without case).
#define STF_SYM_SRCDIR "STF_SRCDIR"    // source directory, ends in a backslash
#define STF_SYM_DLGEVENT "DLGEVENT"    // event word of the last dialog
#define STF_SYM_QUIET "STF_QUIET"      // "1" in quiet mode
#define STF_SYM_RESTART "STF_RESTART"  // "FORCE", "NO" or empty (not chosen)
#define STF_SYM_LOGFILE "STF_LOGFILE"  // path of the setup log, empty without one
#define STF_SYM_OUTCOME "STF_OUTCOME"  // the outcome line the log ends with

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
