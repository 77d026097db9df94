// The C run-time of every binary of the disk, bound by hand: msvcrt.dll is a
// KnownDLL on Windows 2000 and later, but not on Windows NT 4.0, where a copy
// planted beside setup.exe would be the one loaded for a static import. So no
// binary imports it: each fills its own import pointers (crt_imports.h) from
// the system directory's msvcrt.dll by its full path, in an entry point of its
// own that runs before any code of the run-time (program_entry.cpp,
// library_entry.cpp). Only Win32 is called here: the run-time is not there yet.
#pragma once

#include <windows.h>

// Binds every import pointer of this binary once. When msvcrt.dll cannot be
// loaded or lacks a name, says so on standard error, and in a box unless the
// command line asks for a quiet run, then ends the process: 1603 for a quiet
// run, 0 with windows (a person has seen the box), as the programs do.
void CrtBindOrExit(void);

// The switches that ask for no questions, by the programs' own rule
// (core/unattended_switch.h); the program's own name is skipped.
bool CommandAsksForUnattended(const char* commandLine);
// A program that cannot start: the text on standard error, and in a box
// unless the command line asks for a quiet run; then the process ends.
[[noreturn]] void EndStart(const char* text, const char* caption);
