// The exports of MSUILSTF.dll: dialogs. A line per export, in the form contract/exports.h
// describes; the declarations, the .def files and the host tests' fake toolkit are made from it.

// Shows dialog idDlg of szDll with procedure szProc of szProcDll over the frame; returns
// once the user has acted, the event word in symbol DLGEVENT; the dialog stays until killed.
STF_OP(BOOL, FDoDialogExt, (HWND hwndParent, LPCSTR szDll, UINT idDlg, LPCSTR szProc, LPCSTR szProcDll, LONG lData1, LONG lData2), (hwndParent, szDll, idDlg, szProc, szProcDll, lData1, lData2), OWN)
// The program's dialogs' answers (toolkit_api.h: STF_DIALOG_ANSWER), copied; each later
// answer, shown or not, is read from them. 0: a row without a default answer.
STF_OP(BOOL, StfSetDialogAnswers, (const STF_DIALOG_ANSWER* pAnswers, INT cAnswers), (pAnswers, cAnswers), 1)
// Removes the top n dialogs (-1: all). 0: failed.
STF_OP(BOOL, FKillNDialogs, (INT n), (n), OWN)

// For dialog procedures: the user has acted on dialog hdlg; its event word goes
// into DLGEVENT and FDoDialogExt returns. 0: not a dialog of ours.
STF_OWN(BOOL, FReturnDialogEvent, (HWND hdlg, LPCSTR szEvent), (hdlg, szEvent))
// Puts the billboard dialog on the dialog stack (windowless in quiet mode, and for
// a blank billboard, whose szDll is empty). 0: the dialog library, procedure or
// template is missing.
STF_OWN(BOOL, StfShowBillboard, (LPCSTR szDll, UINT idDlg, LPCSTR szProc), (szDll, idDlg, szProc))
// The top-most shown dialog window, for message boxes (null: the frame or none).
STF_OWN(HWND, StfTopDialog, (void), ())
// For the error dialogs: the latest failure in plain words (what failed and why,
// and what to do, empty when nothing follows from it) and the path of the log
// being written (empty without one). FALSE, with szWhat and szAdvice empty, when
// no failure is known.
STF_OWN(BOOL, StfFailureWords, (LPSTR szWhat, INT cbWhat, LPSTR szAdvice, INT cbAdvice, LPSTR szLog, INT cbLog), (szWhat, cbWhat, szAdvice, cbAdvice, szLog, cbLog))
// For the error dialogs in the chosen language: sentence iPart of the latest
// failure (0: what failed, 1: the system's reason, 2: what to do), as the id
// of its text in the language files, and its insert iInsert (0 to 2: %1 to
// %3) in szText, ANSI. 0: the failure has no such sentence, or none is known.
STF_OWN(UINT, StfFailureSentence, (INT iPart, INT iInsert, LPSTR szText, INT cbText), (iPart, iInsert, szText, cbText))
// For the dialog library: the LANGID of the language the frame chose for the
// windows (0: none chosen, as before the frame opened).
STF_OWN(WORD, StfLanguageId, (void), ())
