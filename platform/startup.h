// The run-time start-up of the programs: the command tail behind the
// program name, and the show state from the start-up information.
#pragma once

#include "platform/win32.h"

LPSTR CommandTail(LPSTR commandLine);
int StartupShowState(void);

// The first call of each program: where Windows offers it, the libraries
// loaded from here on are looked for in the system directory and the
// program's folder only, never in the current folder or along PATH.
// Windows without SetDefaultDllDirectories keeps its own order (the current
// folder then leaves it where SetDllDirectoryA exists). The error of a
// refused restriction is kept in LibrarySearchError for the log.
void RestrictLibrarySearch(void);
extern DWORD LibrarySearchError;

// Lines the start-up has for the log (which library was checked and loaded),
// kept until the program hands over its log writer, then written at once.
void NoteStartupLine(LPCSTR line);
void SetStartupLog(void (*log)(LPCSTR line));
