// The exports of MSSHLSTF.dll: frame window, cursor, symbol writing. A line per export, in the
// form contract/exports.h describes; the declarations, the .def files and the host tests' fake
// toolkit are made from it.

// Opens the frame from the command tail; positive: up, 0: failed, -1: only help was asked.
STF_OP(INT, InitializeFrame, (LPSTR szCmdLine), (szCmdLine), 1)
// Closes the frame; harmless when it never opened. Result: non-zero.
STF_OP(BOOL, TerminateFrame, (void), (), 1)
// The program's module instance, and the frame window (null in quiet mode).
STF_OP(HINSTANCE, HinstFrame, (void), (), OWN)
STF_OP(HWND, HwndFrame, (void), (), OWN)
// Draws bitmap idBitmap of library szDll on the frame. 0: library or bitmap missing.
STF_OP(BOOL, FSetBitmap, (LPCSTR szDll, UINT idBitmap), (szDll, idBitmap), 1)
// Sets the text and caption of the frame's About box. 0: failed.
STF_OP(BOOL, FSetAbout, (LPCSTR szText, LPCSTR szCaption), (szText, szCaption), 1)
// Shows the hourglass; the result is the cursor to restore.
STF_OP(HCURSOR, HShowWaitCursor, (void), (), OWN)
// Restores a cursor from HShowWaitCursor. 0: failed.
STF_OP(BOOL, FRestoreCursor, (HCURSOR hcurPrev), (hcurPrev), 1)
// Sets a symbol (names compare without case). 0: bad name or out of memory.
STF_OP(BOOL, FSetSymbolValue, (LPCSTR szSymbol, LPCSTR szValue), (szSymbol, szValue), OWN)
// The audit trail: one Application event a run under the event source
// szSource (the product's own, never another's), for an installation or, with
// fRemoval, a removal. Name it before the frame opens. Result: non-zero.
STF_OP(BOOL, StfSetEventSource, (LPCSTR szSource, BOOL fRemoval), (szSource, fRemoval), 1)
// Registers that source with this library, installed in szFolder, as its
// message file; a source of the name that another program registered is left
// alone. 0: the registry refused (logged).
STF_OP(BOOL, FRegisterEventSource, (LPCSTR szFolder), (szFolder), 1)
// Removes the source's registration when it is ours. 0: the registry refused (logged).
STF_OP(BOOL, FRemoveEventSource, (void), (), 1)

// A check of the driver (/verify) has decided: nExitCode 0 (running), 1603
// (not running) or 3010 (a restart is awaited), the driver's state in words.
// The log and standard output say the state, the run's event is the check's,
// and the run ends with nExitCode, a person there or not.
STF_OP(void, StfSetCheckOutcome, (INT nExitCode, LPCSTR szState), (nExitCode, szState), 0)

// The run's end as the programs hand it over: Windows refused the restart
// that ends the run, and the log's outcome becomes "restart pending" again,
// and so does the exit code (dwError: why, from GetLastError).
STF_OP(void, StfRestartRefused, (DWORD dwError), (dwError), 0)
// The exit code of the run: the program's own code when a person saw the
// outcome, else Windows Installer's code for the run's outcome (run_outcome.h).
STF_OP(INT, StfExitCode, (INT nProgramCode), (nProgramCode), 0)

// Looked up by name by the programs (toolkit/unattended.h), so that they start
// without it. The program could not start the setup: the text goes to the log
// and standard error, and to a person in the toolkit's box in the language of
// the windows (caption "Error"), except in quiet mode and when the run ended
// before it began and the person has been told why. TRUE: the program shows
// no box of its own.
STF_BYNAME(BOOL, StfStartupFailure, (LPCSTR szText), (szText))
