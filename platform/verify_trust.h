// Windows' signature check (WinVerifyTrust) of one file, asked one way by the
// programs (of themselves, before any library of ours is loaded) and by the
// toolkit (of the files of the disk).
#pragma once

#include <windows.h>

typedef LONG(WINAPI* WinVerifyTrustCall)(HWND, GUID*, LPVOID);

// Offline and without a user interface: setup may run as SYSTEM, where a
// fetch of a revocation list would stall it. With a handle, Windows reads the
// bytes through it: those of the file the caller holds, not the path's anew.
LONG VerifyFileTrust(WinVerifyTrustCall verify, LPCSTR path, HANDLE file = nullptr);
