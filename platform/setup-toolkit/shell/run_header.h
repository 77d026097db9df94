// The first lines of a run's log: who ran what, where, on which Windows.
#pragma once

#include <string>

#include "platform/win32.h"

// The program's own file (setup.exe), and its folder ending in a backslash;
// empty when the path does not fit MAX_PATH.
std::string ProgramPath();
std::string ProgramDirectory();
// The program's base name in capitals ("SETUP"), for usage texts.
std::string ProgramName();
// What the program calls itself (its version resource's FileDescription,
// else its name): the title of its windows until it sets its own.
std::string ProgramDescription();

// The program's version ("1.0.0.0"), empty without a version resource.
std::string ProgramVersion();

// Writes the header: a separator, the program and its version, Windows and
// its build, the code pages, the user and their rights, the command line and
// the current and program directories.
void WriteRunHeader(LPCSTR cmdLine);
