// The exports of MSCOMSTF.dll: INF, symbols, lists, copy-list entries, messages. A line per
// export, in the form contract/exports.h describes; the declarations, the .def files and the host
// tests' fake toolkit are made from it.

// Reads the INF file for later INF reads. 0: missing or malformed (reported to the user).
STF_OP(BOOL, FOpenInf, (LPCSTR szFile, BOOL fCheck, BOOL fCheckSyms), (szFile, fCheck, fCheckSyms), 1)
// Copies the symbol's text when it fits cbMax (terminator included); result: its length.
STF_OP(INT, CbGetSymbolValue, (LPCSTR szSymbol, LPSTR szValue, INT cbMax), (szSymbol, szValue, cbMax), OWN)
// Removes a symbol. 0: bad name.
STF_OP(BOOL, FRemoveSymbol, (LPCSTR szSymbol), (szSymbol), 1)
// Appends an item to a list symbol (created when missing). 0: failed.
STF_OP(BOOL, FAddListItem, (LPCSTR szList, LPCSTR szItem), (szList, szItem), 1)
// Replaces item n (from 1) of a list. 0: no such item.
STF_OP(BOOL, FReplaceListItem, (LPCSTR szList, UINT n, LPCSTR szItem), (szList, n, szItem), 1)
// Number of items in a list (0 when missing).
STF_OP(UINT, UsGetListLength, (LPCSTR szList), (szList), OWN)
// Copies item n (from 1) when it fits; result: its length.
STF_OP(INT, CbGetListItem, (LPCSTR szList, UINT n, LPSTR szItem, INT cbMax), (szList, n, szItem, cbMax), OWN)
// Fills list szSymbol with the keys of an INF section (fNulls: keep key-less lines). 0: no section.
STF_OP(BOOL, FSetSymbolToListOfInfKeys, (LPCSTR szSymbol, LPCSTR szSection, BOOL fNulls), (szSymbol, szSection, fNulls), 1)
// Fills list szSymbol with field iField of every line of a section. 0: no section.
STF_OP(BOOL, FMakeListInfSectionField, (LPCSTR szSymbol, LPCSTR szSection, INT iField), (szSymbol, szSection, iField), 1)
// Copies field iField of the line szKey of a section; -1: no such line or field.
STF_OP(INT, CbGetInfSectionKeyField, (LPCSTR szSection, LPCSTR szKey, INT iField, LPSTR szBuf, INT cbBuf), (szSection, szKey, iField, szBuf, cbBuf), OWN)
// Queues every file of an INF section from szSrc to szDest. 0: no section or bad record.
STF_OP(BOOL, FAddSectionFilesToCopyList, (LPCSTR szSection, LPCSTR szSrc, LPCSTR szDest), (szSection, szSrc, szDest), OWN)
// Queues the file of one line of a section. 0: no such line or bad record.
STF_OP(BOOL, FAddSectionKeyFileToCopyList, (LPCSTR szSection, LPCSTR szKey, LPCSTR szSrc, LPCSTR szDest), (szSection, szKey, szSrc, szDest), 1)
// Queues the file of one line even when it is marked to be skipped. 0: as above.
STF_OP(BOOL, FAddSpecialFileToCopyList, (LPCSTR szSection, LPCSTR szKey, LPCSTR szSrc, LPCSTR szDest), (szSection, szKey, szSrc, szDest), 1)
// Entry n (from 1) of the copy list as the add-to-copy-list calls built it: its
// source and target paths (owned by the list, valid until it next changes) and
// the record's flags (kFileFlag... of the file record). 0: no entry n.
STF_OP(BOOL, StfGetCopyListEntry, (UINT n, LPCSTR* pszSource, LPCSTR* pszTarget, LPDWORD pdwFlags), (n, pszSource, pszTarget, pdwFlags), OWN)
// Opens the setup log (fAppend: keep what it holds). 0: cannot be opened.
STF_OP(BOOL, FOpenLogFile, (LPCSTR szFile, BOOL fAppend), (szFile, fAppend), 1)
// Closes the setup log. 0: no log was open.
STF_OP(BOOL, FCloseLogFile, (void), (), 1)
// Writes a line to the setup log. 0: no log open or the write failed.
STF_OP(BOOL, FWriteToLogFile, (LPCSTR szText, BOOL fRequest), (szText, fRequest), 1)
// Switches the beep on message boxes; result: the previous mode.
STF_OP(BOOL, FSetBeepingMode, (BOOL fBeep), (fBeep), 0)
// Switches silent (quiet) mode; result: the previous mode.
STF_OP(BOOL, FSetSilent, (BOOL fSilent), (fSilent), 0)
// Shows a message box over the frame; result: the button pressed.
STF_OP(INT, DoMsgBox, (LPCSTR szText, LPCSTR szCaption, UINT uStyle), (szText, szCaption, uStyle), 1)
// The same box in the language of the windows: text idText and caption idCaption of the
// dialog library's language files (platform/dialogs/box_text_ids.h), their %1 to %3
// filled from szFirst to szThird; the log, standard error and a language without the text
// take szText and szCaption, the English. A stop icon keeps the box as the failure's cause.
STF_OP(INT, StfLanguageBox, (UINT idText, UINT idCaption, LPCSTR szText, LPCSTR szCaption, LPCSTR szFirst, LPCSTR szSecond, LPCSTR szThird, UINT uStyle), (idText, idCaption, szText, szCaption, szFirst, szSecond, szThird, uStyle), 1)
// Shows a failure of an operation to the user; result: what the user chose.
STF_OP(INT, EercErrorHandler, (INT grc, BOOL fVital, LPCSTR sz1, LPCSTR sz2, LPCSTR sz3), (grc, fVital, sz1, sz2, sz3), 0)
// Is the text a well-formed full path (drive or UNC root, valid names)?
STF_OP(BOOL, FValidPath, (LPCSTR szPath), (szPath), 1)
// Is the text a well-formed full directory path?
STF_OP(BOOL, FValidDir, (LPCSTR szDir), (szDir), 1)
// Splits a path into volume, directory and file name; a null piece is not wanted. 0: bad path.
STF_OP(BOOL, FParsePathIntoPieces, (LPCSTR szPath, LPSTR szVol, INT cbVol, LPSTR szDir, INT cbDir, LPSTR szFile, INT cbFile), (szPath, szVol, cbVol, szDir, cbDir, szFile, cbFile), OWN)

// For our other libraries: the one symbol table, copy list and log of the process.
STF_OWN(BOOL, StfSetSymbol, (LPCSTR szSymbol, LPCSTR szValue), (szSymbol, szValue))
// The copy list, every entry at once (core/copy_list.h), in the order added;
// *pcEntries gets how many. The entries stay valid until the list next changes.
STF_OWN(const stf::CopyEntryView*, StfCopyListEntries, (INT* pcEntries), (pcEntries))
STF_OWN(void, StfClearCopyList, (void), ())
// Log records; the error record carries a Win32 code and the system's text for it.
STF_OWN(void, StfLogError, (LPCSTR szText, DWORD dwError), (szText, dwError))
// An error record whose cause the error dialogs can put in plain words:
// szOperation is "read" (a source file), "write" (a file being installed) or
// the Win32 call, szFile what it was done to. A null szText records
// "<operation> <file>". The programs look it up by name (toolkit/log_lines.h).
STF_OWN(void, StfLogFailure, (LPCSTR szText, LPCSTR szOperation, LPCSTR szFile, DWORD dwError), (szText, szOperation, szFile, dwError))
STF_OWN(void, StfLogCopied, (LPCSTR szSrc, LPCSTR szDst, DWORD cbBytes), (szSrc, szDst, cbBytes))
// Writes the log's last line, the run's outcome; nothing is written after it.
STF_OWN(void, StfLogOutcome, (void), ())
// The log's full path as it was opened; "" without a log. The text stays
// where it is until the next call.
STF_OWN(LPCSTR, StfLogFilePath, (void), ())
// A library of the system directory by its full path (loaded once, kept
// loaded), for every system library that is not a KnownDLL; null with the
// last error set when it cannot be loaded (the caller reports it).
STF_OWN(HMODULE, StfSystemLibrary, (LPCSTR szName), (szName))
// A function of such a library; null (logged) when the library or the function is missing.
STF_OWN(FARPROC, StfSystemFunction, (LPCSTR szLibrary, LPCSTR szName), (szLibrary, szName))
// A file of the disk (a bare name: of the program's folder) before it is
// installed or loaded: its bytes against the disk's manifest, then Windows'
// signature check of the same bytes. FALSE (logged as the cause, last error
// 577) for a file the manifest refuses (on a signed disk: not listed or
// different; on an unsigned one: different, unless a person chose to read it
// again), whose signature does not match its content, whose signer was
// revoked, or that is unsigned or not checkable on a signed disk. Every answer is logged.
STF_BYNAME(BOOL, StfCheckDiskFile, (LPCSTR szFile), (szFile))
// The copy that landed (szLanded, staged or installed) of the disk's file
// szSource, judged as above through the copy's bytes; fHashed: the caller has
// matched them with the manifest already, only the signature is left.
STF_OWN(BOOL, StfCheckLandedFile, (LPCSTR szSource, LPCSTR szLanded, BOOL fHashed), (szSource, szLanded, fHashed))
// Writes the lines of the disk's checks made before the log was open (the
// frame reads the dialog library's languages first); the programs call it
// once their log has its header.
STF_BYNAME(void, StfLogEarlyChecks, (void), ())
// The running program carries a signature: every file of its disk must match its manifest.
STF_OWN(BOOL, StfDiskSigned, (void), ())
// What the manifest says the file of that name lands as; FALSE when it does not list it.
STF_OWN(BOOL, StfDiskFileExpected, (LPCSTR szFile, stf::ExpectedBytes* pExpected), (szFile, pExpected))
// A library of the disk (a bare name: from the program's folder), checked as
// above while held, then loaded with LoadLibraryExA's flags, once for each
// flags; null when refused or missing.
STF_OWN(HMODULE, StfLoadDiskLibrary, (LPCSTR szName, DWORD dwFlags), (szName, dwFlags))

// Opens a log of this run's own in the account's temporary folder, named after
// szProgram with the date and time, never a name that exists. 0: none could
// be made (standard error says why); the run goes on without one.
STF_OWN(BOOL, FOpenRunLog, (LPCSTR szProgram), (szProgram))
// Does the process's token have the Administrators group enabled (not
// filtered out by User Account Control)? SYSTEM has it.
STF_OWN(BOOL, StfIsAdministrator, (void), ())
// The account the process runs as (its token's user); null when it cannot be read.
STF_OWN(PSID, StfProcessUserSid, (void), ())

// A text a person sees, in the language of the windows: string id of the
// dialog library's language files (language_resources.h), szEnglish when the
// language's file lacks it. Result: the characters copied.
// The dialog library whose language files these read (loaded as data by the
// frame once it chose the language); until it is set, every text is English.
STF_OWN(void, StfSetLanguageLibrary, (HMODULE hLibrary), (hLibrary))
STF_OWN(INT, StfLanguageText, (UINT id, LPCWSTR szEnglish, LPWSTR szText, INT cchText), (id, szEnglish, szText, cchText))
STF_OWN(UINT, StfLanguageBoxStyle, (void), ())
// A text the programs hand the toolkit in English (a title, a box's words):
// the language's form when the English file holds that text, else as given.
STF_OWN(INT, StfSpokenText, (LPCSTR szEnglish, LPWSTR szText, INT cchText), (szEnglish, szText, cchText))
// The windows' title in the language, or with fError a failure box's caption
// (the title where the files have no error caption for it).
STF_OWN(INT, StfSpokenTitle, (BOOL fError, LPWSTR szText, INT cchText), (fError, szText, cchText))
// Every message box of the toolkit and the dialog library, the one way a box
// is shown: Windows' MessageBox in the language of the windows (its buttons'
// words from the language's file; MB_OK, MB_OKCANCEL, MB_YESNO,
// MB_YESNOCANCEL, MB_RETRYCANCEL; icon, sound, default button and Esc as
// Windows' box has them; task-modal). An unattended run shows nothing and
// gets the default button's answer (Cancel for a default Retry), logged.
STF_OWN(INT, StfShowBox, (HWND hwndOwner, LPCWSTR szText, LPCWSTR szCaption, UINT uStyle), (hwndOwner, szText, szCaption, uStyle))

// The run's state (core/run_state.h), kept here and written through these
// alone; the symbols STF_QUIET, STF_RESTART, STF_TITLE, STF_OUTCOME and
// STF_CAUSE follow it for those who read symbols. The switches: quiet mode,
// passive mode and the restart choice (nRestart: stf::SetupOptions::RestartChoice).
STF_OWN(void, StfSetRunSwitches, (BOOL fQuiet, BOOL fPassive, INT nRestart), (fQuiet, fPassive, nRestart))
// Nobody answers (quiet or passive mode): every dialog takes its default
// answer, no box is shown, nothing waits for a person.
STF_OWN(BOOL, StfQuiet, (void), ())
// Quiet mode: no window is created. Passive mode shows the frame, the
// billboards and the gauge.
STF_OWN(BOOL, StfWindowless, (void), ())
STF_OWN(INT, StfRestartChoice, (void), ())
// The title of the setup's windows and boxes, as the frame has it ("Setup"
// before the program names it), and a failure box's caption; the text stays
// where it is until the title changes.
STF_OWN(void, StfSetTitle, (LPCSTR szTitle), (szTitle))
STF_OWN(LPCSTR, StfTitle, (void), ())
STF_OWN(LPCSTR, StfErrorCaption, (void), ())
// Decides how the run ended (nOutcome: stf::RunOutcome) with the words that
// say what decided it; the latest decision counts, but an end before the
// start stays and so does an outcome the log has written.
STF_OWN(void, StfSetOutcome, (INT nOutcome, LPCSTR szDetail), (nOutcome, szDetail))
STF_OWN(INT, StfOutcome, (void), ())
// Windows refused the restart the outcome announced: it becomes a restart
// pending. FALSE when the outcome announced none.
STF_OWN(BOOL, StfRefuseRestart, (void), ())
// The outcome line without "Outcome: " when it fits cbLine; result: its length.
STF_OWN(INT, StfGetOutcomeLine, (LPSTR szLine, INT cbLine), (szLine, cbLine))
// The latest failure's cause: part iPart (STF_CAUSE_* of stf_internal.h) when
// it fits cbValue; result: its length. Its Win32 code (0: none known), and
// the id of its text in the language files when a program worded it (0: none).
STF_OWN(INT, StfGetCausePart, (INT iPart, LPSTR szValue, INT cbValue), (iPart, szValue, cbValue))
STF_OWN(DWORD, StfCauseCode, (void), ())
// A failure no code can go on from (platform/internal_failure.h), handed on
// by our other libraries to the handler the program set here; it does not return.
STF_OWN(void, StfInternalFailure, (LPCSTR szWhat, DWORD dwCode), (szWhat, dwCode))
STF_BYNAME(void, StfSetInternalFailureHandler, (LPVOID pHandler), (pHandler))
STF_OWN(UINT, StfCauseTextId, (void), ())
