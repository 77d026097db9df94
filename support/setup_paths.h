// The three process-wide directory buffers the install works from, and the
// folder of the program itself.
#pragma once

#include "platform/win32.h"

#define SETUP_PATH_SIZE 256

struct SetupPathBuffers {
  char SystemDir[SETUP_PATH_SIZE];  // Windows directory + "SYSTEM32\"
  char SourceDir[SETUP_PATH_SIZE];  // STF_SRCDIR as the toolkit gives it
  char StartDir[SETUP_PATH_SIZE];   // current directory at launch, ends in a backslash
};

extern SetupPathBuffers SetupPaths;

// The folder of the running program, ending in a backslash, into a buffer of
// SETUP_PATH_SIZE; false when it cannot be read or does not fit.
bool ReadProgramDir(LPSTR dir);
