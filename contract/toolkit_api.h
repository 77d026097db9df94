// The setup toolkit's operations, declared once for the program and for our
// toolkit libraries that export them. Result prefixes: F non-zero is success;
// Cb a text length without terminator (at or above the buffer size: did not
// fit; CbGetInfSectionKeyField -1: no such field); Lcb a byte count, negative
// on failure; Us a count; Grc 0 success, positive failure; Ynrc 0 failure.
#pragma once

#include "platform/win32.h"

#ifdef _WIN32
#define STFAPI __stdcall
#else
#define STFAPI
#endif

// Copy-mode and option words ("cmo") understood by the install library; bits
// an operation does not name are ignored by it.
#define cmoNone 0x0000        // no option
#define cmoVital 0x0001       // a failure is reported as fatal (logged; the caller decides)
#define cmoOverwrite 0x0002   // FCopyOneFile, FCreateProgManItem(Ex): replace an existing
                              // target or item; without it an existing one stays (success)
#define cmoRestart 0x0004     // FCopyOneFile, YnrcRemoveFile: a target in use is replaced
                              // (removed) at the next boot and joins the restart list
#define cmoForceWrite 0x0400  // FCreateIniKeyValue, FCreateSysIniKeyValue: replace an
                              // existing value; without it an existing value stays (success)

extern "C" {

// ---- MSSHLSTF.dll: frame window, cursor, symbol writing ----

// Opens the frame from the command tail; positive: up, 0: failed, -1: only help was asked.
INT STFAPI InitializeFrame(LPSTR szCmdLine);
// Closes the frame; harmless when it never opened. Result: non-zero.
BOOL STFAPI TerminateFrame(void);
// The program's module instance, and the frame window (null in quiet mode).
HINSTANCE STFAPI HinstFrame(void);
HWND STFAPI HwndFrame(void);
// Draws bitmap idBitmap of library szDll on the frame. 0: library or bitmap missing.
BOOL STFAPI FSetBitmap(LPCSTR szDll, UINT idBitmap);
// Sets the text and caption of the frame's About box. 0: failed.
BOOL STFAPI FSetAbout(LPCSTR szText, LPCSTR szCaption);
// Shows the hourglass; the result is the cursor to restore.
HCURSOR STFAPI HShowWaitCursor(void);
// Restores a cursor from HShowWaitCursor. 0: failed.
BOOL STFAPI FRestoreCursor(HCURSOR hcurPrev);
// Sets a symbol (names compare without case). 0: bad name or out of memory.
BOOL STFAPI FSetSymbolValue(LPCSTR szSymbol, LPCSTR szValue);

// ---- MSCOMSTF.dll: INF, symbols, lists, copy-list entries, messages ----

// Reads the INF file for later INF reads. 0: missing or malformed (reported to the user).
BOOL STFAPI FOpenInf(LPCSTR szFile, BOOL fCheck, BOOL fCheckSyms);
// Copies the symbol's text when it fits cbMax (terminator included); result: its length.
INT STFAPI CbGetSymbolValue(LPCSTR szSymbol, LPSTR szValue, INT cbMax);
// Removes a symbol. 0: bad name.
BOOL STFAPI FRemoveSymbol(LPCSTR szSymbol);
// Appends an item to a list symbol (created when missing). 0: failed.
BOOL STFAPI FAddListItem(LPCSTR szList, LPCSTR szItem);
// Replaces item n (from 1) of a list. 0: no such item.
BOOL STFAPI FReplaceListItem(LPCSTR szList, UINT n, LPCSTR szItem);
// Number of items in a list (0 when missing).
UINT STFAPI UsGetListLength(LPCSTR szList);
// Copies item n (from 1) when it fits; result: its length.
INT STFAPI CbGetListItem(LPCSTR szList, UINT n, LPSTR szItem, INT cbMax);
// Fills list szSymbol with the keys of an INF section (fNulls: keep key-less lines). 0: no section.
BOOL STFAPI FSetSymbolToListOfInfKeys(LPCSTR szSymbol, LPCSTR szSection, BOOL fNulls);
// Fills list szSymbol with field iField of every line of a section. 0: no section.
BOOL STFAPI FMakeListInfSectionField(LPCSTR szSymbol, LPCSTR szSection, INT iField);
// Copies field iField of the line szKey of a section; -1: no such line or field.
INT STFAPI CbGetInfSectionKeyField(LPCSTR szSection, LPCSTR szKey, INT iField, LPSTR szBuf,
                                   INT cbBuf);
// Queues every file of an INF section from szSrc to szDest. 0: no section or bad record.
BOOL STFAPI FAddSectionFilesToCopyList(LPCSTR szSection, LPCSTR szSrc, LPCSTR szDest);
// Queues the file of one line of a section. 0: no such line or bad record.
BOOL STFAPI FAddSectionKeyFileToCopyList(LPCSTR szSection, LPCSTR szKey, LPCSTR szSrc,
                                         LPCSTR szDest);
// Queues the file of one line even when it is marked to be skipped. 0: as above.
BOOL STFAPI FAddSpecialFileToCopyList(LPCSTR szSection, LPCSTR szKey, LPCSTR szSrc,
                                      LPCSTR szDest);
// Opens the setup log (fAppend: keep what it holds). 0: cannot be opened.
BOOL STFAPI FOpenLogFile(LPCSTR szFile, BOOL fAppend);
// Closes the setup log. 0: no log was open.
BOOL STFAPI FCloseLogFile(void);
// Writes a line to the setup log. 0: no log open or the write failed.
BOOL STFAPI FWriteToLogFile(LPCSTR szText, BOOL fRequest);
// Switches the beep on message boxes; result: the previous mode.
BOOL STFAPI FSetBeepingMode(BOOL fBeep);
// Switches silent (quiet) mode; result: the previous mode.
BOOL STFAPI FSetSilent(BOOL fSilent);
// Shows a message box over the frame; result: the button pressed.
INT STFAPI DoMsgBox(LPCSTR szText, LPCSTR szCaption, UINT uStyle);
// Shows a failure of an operation to the user; result: what the user chose.
INT STFAPI EercErrorHandler(INT grc, BOOL fVital, LPCSTR sz1, LPCSTR sz2, LPCSTR sz3);
// Is the text a well-formed full path (drive or UNC root, valid names)?
BOOL STFAPI FValidPath(LPCSTR szPath);
// Is the text a well-formed full directory path?
BOOL STFAPI FValidDir(LPCSTR szDir);
// Splits a path into volume, directory and file name; a null piece is not wanted. 0: bad path.
BOOL STFAPI FParsePathIntoPieces(LPCSTR szPath, LPSTR szVol, INT cbVol, LPSTR szDir, INT cbDir,
                                 LPSTR szFile, INT cbFile);

// ---- MSINSSTF.dll: install engine, copy list, billboards, progress ----

// Opens the install engine over the frame. 0: failed.
BOOL STFAPI FInitializeInstall(HINSTANCE hinst, HWND hwndFrame);
// Closes the install engine; harmless when it never opened.
BOOL STFAPI TerminateInstall(void);
// Empties the copy list.
BOOL STFAPI ResetCopyList(void);
// Registers a billboard shown during the copy (lTicks: its share of the copy's time).
BOOL STFAPI FAddToBillboardList(LPCSTR szDll, UINT idDlg, LPCSTR szProc, LONG lTicks);
// Forgets every registered billboard.
BOOL STFAPI FClearBillboardList(void);
// Places the progress gauge's top-left corner at (x, y) dialog units of the frame.
BOOL STFAPI ProSetPos(INT x, INT y);
// Copies everything in the copy list; 0: done, positive: why not (see the install library).
INT STFAPI GrcCopyFilesInCopyList(HINSTANCE hinst);
// The copy list's bytes per destination drive (declared size, or the source's real size
// when 0) plus szExtraList ("C=n" items, or item n for drive n); fills szCostList and
// szNeedList (beyond the free space) with "C=bytes" items. Result: the total. -1: a source
// of unknown size is missing or a list cannot be written.
LONG STFAPI LcbGetCopyListCost(LPCSTR szExtraList, LPCSTR szCostList, LPCSTR szNeedList);
// Creates a directory and its parents; an existing one is fine. 0: failed (logged).
BOOL STFAPI FCreateDir(LPCSTR szDir, UINT cmo);
// Removes an empty directory; a missing one is fine. 0: not empty or failed (logged).
BOOL STFAPI FRemoveDir(LPCSTR szDir, UINT cmo);
// Removes a whole section of an INI file (WritePrivateProfileStringA). 0: failed.
BOOL STFAPI FRemoveIniSection(LPCSTR szFile, LPCSTR szSection, UINT cmo);
// Writes key=value into a section of an INI file (a bare name: the Windows directory);
// an existing value stays unless cmo has cmoForceWrite. 0: failed.
BOOL STFAPI FCreateIniKeyValue(LPCSTR szFile, LPCSTR szSection, LPCSTR szKey, LPCSTR szValue,
                               UINT cmo);
// Removes a key from a section of an INI file; a missing key is fine. 0: failed.
BOOL STFAPI FRemoveIniKey(LPCSTR szFile, LPCSTR szSection, LPCSTR szKey, UINT cmo);
// As FCreateIniKeyValue, a bare file name taken in the system directory. 0: failed.
BOOL STFAPI FCreateSysIniKeyValue(LPCSTR szFile, LPCSTR szSection, LPCSTR szKey,
                                  LPCSTR szValue, UINT cmo);
// Creates a program group: folder szGroup (subfolders allowed, never "..") under the Start
// menu's Programs, the user's (plain) or all users' (Ex); szPath (the old Program Manager
// group file) is ignored; an existing group is fine. 0: bad name or failed.
BOOL STFAPI FCreateProgManGroup(LPCSTR szGroup, LPCSTR szPath, UINT cmo);
BOOL STFAPI FCreateProgManGroupEx(LPCSTR szGroup, LPCSTR szPath, UINT cmo);
// Shows a program group (show command as decimal text, "0": only check it exists): opens
// its folder window, except in quiet mode and under Wine. 0: no such group.
BOOL STFAPI FShowProgManGroup(LPCSTR szGroup, LPCSTR szCommand, UINT cmo);
BOOL STFAPI FShowProgManGroupEx(LPCSTR szGroup, LPCSTR szPath, LPCSTR szCommand, UINT cmo);
// Creates a program item: shortcut "name.lnk" in the group's folder running szCmd (target,
// then arguments; quote a target with blanks); szItem is "name" or "name,icon path".
// 0: no such group, bad name, or the shortcut cannot be saved.
BOOL STFAPI FCreateProgManItem(LPCSTR szGroup, LPCSTR szItem, LPCSTR szCmd, UINT cmo);
BOOL STFAPI FCreateProgManItemEx(LPCSTR szGroup, LPCSTR szPath, LPCSTR szItem, LPCSTR szCmd,
                                 UINT cmo);
// Writes cbData bytes as resource (type, id, language neutral) of file szDst, or, when szDst
// is a directory, of the file line szKey of INF section szSection installed there.
// 0: bad arguments, no such file, or the update failed.
BOOL STFAPI FStampResource(LPCSTR szSection, LPCSTR szKey, LPCSTR szDst, UINT wResType,
                           UINT wResId, LPCSTR szData, INT cbData);
// Writes the copy list into a file, a line "source -> destination (n bytes)" per entry.
// 0: the file cannot be written.
BOOL STFAPI FDumpCopyListToFile(LPCSTR szFile);
// Removes a file; a missing one is fine; in use with cmoRestart: removed at the next boot.
// 1: done or queued, 0: failed.
INT STFAPI YnrcRemoveFile(LPCSTR szFile, UINT cmo);
// Copies a file to szBackup (a bare name: beside the file), replacing an older backup; a
// missing file has nothing to keep. 1: done, 0: failed.
INT STFAPI YnrcBackupFile(LPCSTR szFile, LPCSTR szBackup, UINT cmo);
// Sets where new files for the restart list are staged when on the target's volume (empty:
// beside the target). 0: not an existing directory.
BOOL STFAPI FSetRestartDir(LPCSTR szDir);
// Writes szFile (AUTOEXEC.BAT style; missing: empty) to szDst with szDir first on its first
// PATH=, PATH or SET PATH= line (other mentions of szDir go), or a new "PATH=szDir" line.
// 0: bad arguments or a read or write failed.
BOOL STFAPI FPrependToPath(LPCSTR szFile, LPCSTR szDst, LPCSTR szDir, UINT cmo);
// Copies one file (without cmoOverwrite an existing target stays); a target in use with
// cmoRestart is staged and replaced at the next boot; fAppend: add to the end of the target.
// 0: failed (logged).
BOOL STFAPI FCopyOneFile(LPCSTR szSrc, LPCSTR szDst, UINT cmo, BOOL fAppend);
// Searches a file as OpenFile does (SearchPathA order) and copies its full path:
// 0 found, 1 not found, 2 the buffer is too small or missing.
INT STFAPI WFindFileUsingFileOpen(LPCSTR szFile, LPSTR szBuf, INT cbBuf);
// Can files be created in the directory (a temporary file is made and removed)? Can the file
// be opened for writing (a missing one: can its directory take it)? No log, no failure.
BOOL STFAPI FIsDirWritable(LPCSTR szDir);
BOOL STFAPI FIsFileWritable(LPCSTR szFile);
// Has this process queued no replacement or removal for the next boot?
BOOL STFAPI FRestartListEmpty(void);
// With the restart list non-empty: enables SeShutdownPrivilege and asks for a restart
// (ExitWindowsEx EWX_REBOOT, not forced); non-zero: the restart is under way, end now.
// 0: nothing is queued, the privilege is not held, or the restart was refused.
BOOL STFAPI FExitExecRestart(void);

// ---- MSUILSTF.dll: dialogs ----

// Shows dialog idDlg of szDll with procedure szProc of szProcDll over the frame; returns
// once the user has acted, the event word in symbol DLGEVENT; the dialog stays until killed.
BOOL STFAPI FDoDialogExt(HWND hwndParent, LPCSTR szDll, UINT idDlg, LPCSTR szProc,
                         LPCSTR szProcDll, LONG lData1, LONG lData2);
// Removes the top n dialogs (-1: all). 0: failed.
BOOL STFAPI FKillNDialogs(INT n);

// ---- MSDETSTF.dll: detection (drives are numbered A = 1) ----
// Failures of the system calls behind these answers go to the setup log with
// the Win32 error; the answers stay as described.

// A drive the system maps (GetLogicalDrives) of a known kind (GetDriveTypeA);
// numbers outside 1..26 are no drive.
BOOL STFAPI FIsValidDrive(INT nDrive);
BOOL STFAPI FIsLocalHardDrive(INT nDrive);  // DRIVE_FIXED
BOOL STFAPI FIsRemoveDrive(INT nDrive);     // DRIVE_REMOVABLE
BOOL STFAPI FIsRemoteDrive(INT nDrive);     // DRIVE_REMOTE
// Total bytes, and bytes free to this user (GetDiskFreeSpaceExA); above
// 2147483647 they read as 2147483647. -1: no drive or not ready.
LONG STFAPI LcbTotalDrive(INT nDrive);
LONG STFAPI LcbFreeDrive(INT nDrive);
// Replace list symbol szSymbol by the drives ("C:") of a kind, in letter
// order, or the ports ("COM1", "LPT1", ...; COM10 and above included) that
// the system's device names (QueryDosDeviceA) hold, in number order.
// 0: no symbol name, the device names cannot be read or a list item failed.
BOOL STFAPI FGetValidDrivesList(LPCSTR szSymbol);
BOOL STFAPI FGetLocalHardDrivesList(LPCSTR szSymbol);
BOOL STFAPI FGetRemovableDrivesList(LPCSTR szSymbol);
BOOL STFAPI FGetNetworkDrivesList(LPCSTR szSymbol);
BOOL STFAPI FGetParallelPortsList(LPCSTR szSymbol);
BOOL STFAPI FGetSerialPortsList(LPCSTR szSymbol);
// Bounded text queries: the text is copied only when it fits cbBuf with its
// terminator; the result is always its length (terminator excluded), so a
// result at or above cbBuf means "did not fit, nothing copied". An absent
// value, key, variable or file gives the empty text (0).
// An INI value (a bare file name is the Windows directory's), of any length.
INT STFAPI CbGetIniKeyString(LPCSTR szFile, LPCSTR szSection, LPCSTR szKey, LPSTR szBuf,
                             INT cbBuf);
INT STFAPI CbGetEnvVariableValue(LPCSTR szVar, LPSTR szBuf, INT cbBuf);
// The file version of the version resource's fixed part as "a.b.c.d"
// (decimal); empty when the file has no version resource.
INT STFAPI CbGetVersionOfFile(LPCSTR szFile, LPSTR szBuf, INT cbBuf);
// dir\szFile for the first directory of variable szVar (';'-separated,
// quotes allowed) that holds szFile as a file; szFile must be a bare name.
INT STFAPI CbFindTargetOnEnvVar(LPCSTR szFile, LPCSTR szVar, LPSTR szBuf, INT cbBuf);
// Last write time in local time as "YYYY-MM-DD HH:MM:SS" (19 characters).
INT STFAPI CbGetDateOfFile(LPCSTR szFile, LPSTR szBuf, INT cbBuf);
// dir\...\szFile, searched depth first: a directory itself before its
// subdirectories, these in the order the file system lists them; at most 32
// levels down, reparse points not entered. szFile must be a bare name.
INT STFAPI CbFindFileInTree(LPCSTR szFile, LPCSTR szDir, LPSTR szBuf, INT cbBuf);
// Is szFile a file (not a directory)? Mode 0: it exists; mode 1: and it can be
// opened for writing now (rights, read-only flag, another holder). Other
// modes: 0, logged.
BOOL STFAPI FDoesFileExist(LPCSTR szFile, INT mode);
// Field nField (from 1) of a dotted version; 0 when missing.
LONG STFAPI LGetVersionNthField(LPCSTR szVersion, INT nField);
// File size in bytes (above 2147483647: 2147483647); -1: missing or a directory.
LONG STFAPI LcbGetSizeOfFile(LPCSTR szFile);
// Does the service database hold a kernel or file-system driver of that name
// ("name" or "name.SYS")? A driver file without a service does not count.
BOOL STFAPI FIsDriverInConfig(LPCSTR szDriver);
// Floating point in hardware (not emulated by the system).
BOOL STFAPI FHas87MathChip(void);
// The screen has one bit per pixel; 0 also when no screen can be asked.
BOOL STFAPI FHasMonochromeDisplay(void);
BOOL STFAPI FHasMouseInstalled(void);  // SM_MOUSEPRESENT
BOOL STFAPI FDirExists(LPCSTR szDir);
// A section, or a key (one with an empty value too), present in an INI file;
// names compare without case.
BOOL STFAPI FDoesIniSectionExist(LPCSTR szFile, LPCSTR szSection);
BOOL STFAPI FDoesIniKeyExist(LPCSTR szFile, LPCSTR szSection, LPCSTR szKey);
// This machine's processor as "80386", "80486", "R2000", "R3000", "R4000" or
// "AXP21064", copied when it fits. Every x86 from level 4 up, and an x86
// process on a 64-bit system, answers "80486": no later name is known to
// callers. 0: another processor, or the buffer is too small. szMachine and
// nReserved are not used.
BOOL STFAPI FGetProcessorType(LPCSTR szMachine, INT nReserved, LPSTR szBuf, INT cbBuf);

}  // extern "C"
