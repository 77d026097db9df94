// The exports of MSINSSTF.dll: install engine, copy list, billboards, progress. A line per export,
// in the form contract/exports.h describes; the declarations, the .def files and the host tests'
// fake toolkit are made from it.

// Opens the install engine over the frame. 0: failed.
STF_OP(BOOL, FInitializeInstall, (HINSTANCE hinst, HWND hwndFrame), (hinst, hwndFrame), 1)
// Closes the install engine; harmless when it never opened.
STF_OP(BOOL, TerminateInstall, (void), (), 1)
// Empties the copy list.
STF_OP(BOOL, ResetCopyList, (void), (), OWN)
// Registers a billboard shown during the copy (lTicks: its share of the copy's time).
STF_OP(BOOL, FAddToBillboardList, (LPCSTR szDll, UINT idDlg, LPCSTR szProc, LONG lTicks), (szDll, idDlg, szProc, lTicks), 1)
// Forgets every registered billboard.
STF_OP(BOOL, FClearBillboardList, (void), (), 1)
// Places the progress gauge's top-left corner at (x, y) dialog units of the frame.
STF_OP(BOOL, ProSetPos, (INT x, INT y), (x, y), 1)
// Copies everything in the copy list; 0: done, positive: why not (see the install library).
STF_OP(INT, GrcCopyFilesInCopyList, (HINSTANCE hinst), (hinst), OWN)
// Makes the last copy final: the files it replaced, its staging folders and its journal go (a replaced file still in use at the next boot). Harmless when no copy is pending. 0: something could not be removed (logged).
STF_OP(BOOL, FCommitCopyList, (void), (), 1)
// Undoes the last copy: every file it replaced back under its name, every file it added removed. Harmless when no copy is pending. 0: something could not be undone (logged, naming each file left as it is).
STF_OP(BOOL, FUndoCopyList, (void), (), 1)
// The number of files the last copy put in place; 0: it changed nothing (every file kept or skipped).
STF_OP(INT, UsCopyListChanges, (void), (), 1)
// Puts one file back through the same transaction: szSource, whose size and
// SHA-256 szRecord gives ("<sha256> <size>"), becomes szTarget whatever version
// is installed there, once its staged bytes match the record; pending until
// FCommitCopyList or FUndoCopyList like a copy of the list. 0: done, else a result as above.
STF_OP(INT, GrcCopyRecordedFile, (LPCSTR szSource, LPCSTR szTarget, LPCSTR szRecord), (szSource, szTarget, szRecord), 0)
// The copy list's bytes per destination drive (declared size, or the source's real size
// when 0) plus szExtraList ("C=n" items, or item n for drive n); fills szCostList and
// szNeedList (beyond the free space) with "C=bytes" items. Result: the total. -1: a source
// of unknown size is missing or a list cannot be written.
STF_OP(LONG, LcbGetCopyListCost, (LPCSTR szExtraList, LPCSTR szCostList, LPCSTR szNeedList), (szExtraList, szCostList, szNeedList), 0)
// Creates a directory and its parents; an existing one is fine. 0: failed (logged).
STF_OP(BOOL, FCreateDir, (LPCSTR szDir, UINT cmo), (szDir, cmo), 1)
// Removes an empty directory; a missing one is fine. 0: not empty or failed (logged).
STF_OP(BOOL, FRemoveDir, (LPCSTR szDir, UINT cmo), (szDir, cmo), 1)
// Removes a whole section of an INI file (WritePrivateProfileStringA). 0: failed.
STF_OP(BOOL, FRemoveIniSection, (LPCSTR szFile, LPCSTR szSection, UINT cmo), (szFile, szSection, cmo), 1)
// Writes key=value into a section of an INI file (a bare name: the Windows directory);
// an existing value stays unless cmo has cmoForceWrite. 0: failed.
STF_OP(BOOL, FCreateIniKeyValue, (LPCSTR szFile, LPCSTR szSection, LPCSTR szKey, LPCSTR szValue, UINT cmo), (szFile, szSection, szKey, szValue, cmo), 1)
// Removes a key from a section of an INI file; a missing key is fine. 0: failed.
STF_OP(BOOL, FRemoveIniKey, (LPCSTR szFile, LPCSTR szSection, LPCSTR szKey, UINT cmo), (szFile, szSection, szKey, cmo), 1)
// As FCreateIniKeyValue, a bare file name taken in the system directory. 0: failed.
STF_OP(BOOL, FCreateSysIniKeyValue, (LPCSTR szFile, LPCSTR szSection, LPCSTR szKey, LPCSTR szValue, UINT cmo), (szFile, szSection, szKey, szValue, cmo), 1)
// Creates a program group: folder szGroup (subfolders allowed, never "..") under the Start
// menu's Programs, the user's (plain) or all users' (Ex); szPath (the old Program Manager
// group file) is ignored; an existing group is fine. 0: bad name or failed.
STF_OP(BOOL, FCreateProgManGroup, (LPCSTR szGroup, LPCSTR szPath, UINT cmo), (szGroup, szPath, cmo), 1)
STF_OP(BOOL, FCreateProgManGroupEx, (LPCSTR szGroup, LPCSTR szPath, UINT cmo), (szGroup, szPath, cmo), 1)
// Shows a program group (show command as decimal text, "0": only check it exists): opens
// its folder window, except in quiet mode and under Wine. 0: no such group.
STF_OP(BOOL, FShowProgManGroup, (LPCSTR szGroup, LPCSTR szCommand, UINT cmo), (szGroup, szCommand, cmo), 1)
STF_OP(BOOL, FShowProgManGroupEx, (LPCSTR szGroup, LPCSTR szPath, LPCSTR szCommand, UINT cmo), (szGroup, szPath, szCommand, cmo), 1)
// Creates a program item: shortcut "name.lnk" in the group's folder running szCmd (target,
// then arguments; quote a target with blanks); szItem is "name" or "name,icon path".
// 0: no such group, bad name, or the shortcut cannot be saved.
STF_OP(BOOL, FCreateProgManItem, (LPCSTR szGroup, LPCSTR szItem, LPCSTR szCmd, UINT cmo), (szGroup, szItem, szCmd, cmo), 1)
STF_OP(BOOL, FCreateProgManItemEx, (LPCSTR szGroup, LPCSTR szPath, LPCSTR szItem, LPCSTR szCmd, UINT cmo), (szGroup, szPath, szItem, szCmd, cmo), 1)
// Writes cbData bytes as resource (type, id, language neutral) of file szDst, or, when szDst
// is a directory, of the file line szKey of INF section szSection installed there.
// 0: bad arguments, no such file, or the update failed.
STF_OP(BOOL, FStampResource, (LPCSTR szSection, LPCSTR szKey, LPCSTR szDst, UINT wResType, UINT wResId, LPCSTR szData, INT cbData), (szSection, szKey, szDst, wResType, wResId, szData, cbData), 1)
// Writes the copy list into a file, a line "source -> destination (n bytes)" per entry.
// 0: the file cannot be written.
STF_OP(BOOL, FDumpCopyListToFile, (LPCSTR szFile), (szFile), 1)
// Removes a file; a missing one is fine; in use with cmoRestart: removed at the next boot.
// 1: done or queued, 0: failed.
STF_OP(INT, YnrcRemoveFile, (LPCSTR szFile, UINT cmo), (szFile, cmo), OWN)
// Copies a file to szBackup (a bare name: beside the file), replacing an older backup; a
// missing file has nothing to keep. 1: done, 0: failed.
STF_OP(INT, YnrcBackupFile, (LPCSTR szFile, LPCSTR szBackup, UINT cmo), (szFile, szBackup, cmo), 1)
// Sets where new files for the restart list are staged when on the target's volume (empty:
// beside the target). 0: not an existing directory.
STF_OP(BOOL, FSetRestartDir, (LPCSTR szDir), (szDir), 1)
// Writes szFile (AUTOEXEC.BAT style; missing: empty) to szDst with szDir first on its first
// PATH=, PATH or SET PATH= line (other mentions of szDir go), or a new "PATH=szDir" line.
// 0: bad arguments or a read or write failed.
STF_OP(BOOL, FPrependToPath, (LPCSTR szFile, LPCSTR szDst, LPCSTR szDir, UINT cmo), (szFile, szDst, szDir, cmo), 1)
// Copies one file (without cmoOverwrite an existing target stays); a target in use with
// cmoRestart is staged and replaced at the next boot; fAppend: add to the end of the target.
// 0: failed (logged).
STF_OP(BOOL, FCopyOneFile, (LPCSTR szSrc, LPCSTR szDst, UINT cmo, BOOL fAppend), (szSrc, szDst, cmo, fAppend), OWN)
// Searches a file as OpenFile does (SearchPathA order) and copies its full path:
// 0 found, 1 not found, 2 the buffer is too small or missing.
STF_OP(INT, WFindFileUsingFileOpen, (LPCSTR szFile, LPSTR szBuf, INT cbBuf), (szFile, szBuf, cbBuf), OWN)
// Can files be created in the directory (a temporary file is made and removed)? Can the file
// be opened for writing (a missing one: can its directory take it)? No log, no failure.
STF_OP(BOOL, FIsDirWritable, (LPCSTR szDir), (szDir), 1)
STF_OP(BOOL, FIsFileWritable, (LPCSTR szFile), (szFile), 1)
// Has this process queued no replacement or removal for the next boot?
STF_OP(BOOL, FRestartListEmpty, (void), (), OWN)
// With the restart list non-empty: enables SeShutdownPrivilege and asks for a restart
// (ExitWindowsEx EWX_REBOOT, not forced); non-zero: the restart is under way, end now.
// 0: nothing is queued, the privilege is not held, or the restart was refused.
STF_OP(BOOL, FExitExecRestart, (void), (), 1)
// The kind of image a file is, expanded first when it is an LZ file or a one-file cabinet:
// its machine (0: no PE header), subsystem and characteristics. Result: 0, or the Win32 error
// of reading it; ERROR_FILE_CORRUPT for compressed data that cannot be expanded, with szProblem
// saying why.
STF_OP(DWORD, StfReadImageKind, (LPCSTR szFile, LPWORD pwMachine, LPWORD pwSubsystem, LPWORD pwFlags, LPSTR szProblem, INT cbProblem), (szFile, pwMachine, pwSubsystem, pwFlags, szProblem, cbProblem), OWN)
