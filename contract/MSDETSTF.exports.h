// The exports of MSDETSTF.dll: detection (drives are numbered A = 1). A line per export, in the
// form contract/exports.h describes; the declarations, the .def files and the host tests' fake
// toolkit are made from it.

// Failures of the system calls behind these answers go to the setup log with
// the Win32 error; the answers stay as described.

// A drive the system maps (GetLogicalDrives) of a known kind (GetDriveTypeA);
// numbers outside 1..26 are no drive.
STF_OP(BOOL, FIsValidDrive, (INT nDrive), (nDrive), 1)
STF_OP(BOOL, FIsLocalHardDrive, (INT nDrive), (nDrive), 1)
STF_OP(BOOL, FIsRemoveDrive, (INT nDrive), (nDrive), 1)
STF_OP(BOOL, FIsRemoteDrive, (INT nDrive), (nDrive), 1)
// Total bytes, and bytes free to this user (GetDiskFreeSpaceExA); above
// 2147483647 they read as 2147483647. -1: no drive or not ready.
STF_OP(LONG, LcbTotalDrive, (INT nDrive), (nDrive), 0)
STF_OP(LONG, LcbFreeDrive, (INT nDrive), (nDrive), 0)
// Replace list symbol szSymbol by the drives ("C:") of a kind, in letter
// order, or the ports ("COM1", "LPT1", ...; COM10 and above included) that
// the system's device names (QueryDosDeviceA) hold, in number order.
// 0: no symbol name, the device names cannot be read or a list item failed.
STF_OP(BOOL, FGetValidDrivesList, (LPCSTR szSymbol), (szSymbol), 1)
STF_OP(BOOL, FGetLocalHardDrivesList, (LPCSTR szSymbol), (szSymbol), 1)
STF_OP(BOOL, FGetRemovableDrivesList, (LPCSTR szSymbol), (szSymbol), 1)
STF_OP(BOOL, FGetNetworkDrivesList, (LPCSTR szSymbol), (szSymbol), 1)
STF_OP(BOOL, FGetParallelPortsList, (LPCSTR szSymbol), (szSymbol), 1)
STF_OP(BOOL, FGetSerialPortsList, (LPCSTR szSymbol), (szSymbol), 1)
// Bounded text queries: the text is copied only when it fits cbBuf with its
// terminator; the result is always its length (terminator excluded), so a
// result at or above cbBuf means "did not fit, nothing copied". An absent
// value, key, variable or file gives the empty text (0).
// An INI value (a bare file name is the Windows directory's), of any length.
STF_OP(INT, CbGetIniKeyString, (LPCSTR szFile, LPCSTR szSection, LPCSTR szKey, LPSTR szBuf, INT cbBuf), (szFile, szSection, szKey, szBuf, cbBuf), OWN)
STF_OP(INT, CbGetEnvVariableValue, (LPCSTR szVar, LPSTR szBuf, INT cbBuf), (szVar, szBuf, cbBuf), OWN)
// The file version of the version resource's fixed part as "a.b.c.d"
// (decimal); empty when the file has no version resource.
STF_OP(INT, CbGetVersionOfFile, (LPCSTR szFile, LPSTR szBuf, INT cbBuf), (szFile, szBuf, cbBuf), OWN)
// dir\szFile for the first directory of variable szVar (';'-separated,
// quotes allowed) that holds szFile as a file; szFile must be a bare name.
STF_OP(INT, CbFindTargetOnEnvVar, (LPCSTR szFile, LPCSTR szVar, LPSTR szBuf, INT cbBuf), (szFile, szVar, szBuf, cbBuf), OWN)
// Last write time in local time as "YYYY-MM-DD HH:MM:SS" (19 characters).
STF_OP(INT, CbGetDateOfFile, (LPCSTR szFile, LPSTR szBuf, INT cbBuf), (szFile, szBuf, cbBuf), OWN)
// dir\...\szFile, searched depth first: a directory itself before its
// subdirectories, these in the order the file system lists them; at most 32
// levels down, reparse points not entered. szFile must be a bare name.
STF_OP(INT, CbFindFileInTree, (LPCSTR szFile, LPCSTR szDir, LPSTR szBuf, INT cbBuf), (szFile, szDir, szBuf, cbBuf), OWN)
// Is szFile a file (not a directory)? Mode 0: it exists; mode 1: and it can be
// opened for writing now (rights, read-only flag, another holder). Other
// modes: 0, logged.
STF_OP(BOOL, FDoesFileExist, (LPCSTR szFile, INT mode), (szFile, mode), 1)
// Field nField (from 1) of a dotted version; 0 when missing.
STF_OP(LONG, LGetVersionNthField, (LPCSTR szVersion, INT nField), (szVersion, nField), 0)
// File size in bytes (above 2147483647: 2147483647); -1: missing or a directory.
STF_OP(LONG, LcbGetSizeOfFile, (LPCSTR szFile), (szFile), 0)
// Does the service database hold a kernel or file-system driver of that name
// ("name" or "name.SYS")? A driver file without a service does not count.
STF_OP(BOOL, FIsDriverInConfig, (LPCSTR szDriver), (szDriver), 1)
// Floating point in hardware (not emulated by the system).
STF_OP(BOOL, FHas87MathChip, (void), (), 1)
// The screen has one bit per pixel; 0 also when no screen can be asked.
STF_OP(BOOL, FHasMonochromeDisplay, (void), (), 1)
STF_OP(BOOL, FHasMouseInstalled, (void), (), 1)
STF_OP(BOOL, FDirExists, (LPCSTR szDir), (szDir), 1)
// A section, or a key (one with an empty value too), present in an INI file;
// names compare without case.
STF_OP(BOOL, FDoesIniSectionExist, (LPCSTR szFile, LPCSTR szSection), (szFile, szSection), 1)
STF_OP(BOOL, FDoesIniKeyExist, (LPCSTR szFile, LPCSTR szSection, LPCSTR szKey), (szFile, szSection, szKey), 1)
// This machine's processor as "80386", "80486", "R2000", "R3000", "R4000" or
// "AXP21064", copied when it fits. Every x86 from level 4 up, and an x86
// process on a 64-bit system, answers "80486": no later name is known to
// callers. 0: another processor, or the buffer is too small. szMachine and
// nReserved are not used.
STF_OP(BOOL, FGetProcessorType, (LPCSTR szMachine, INT nReserved, LPSTR szBuf, INT cbBuf), (szMachine, nReserved, szBuf, cbBuf), OWN)
