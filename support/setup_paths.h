// The three process-wide directory buffers the install works from.
#pragma once

#define SETUP_PATH_SIZE 256

struct SetupPathBuffers {
  char SystemDir[SETUP_PATH_SIZE];  // Windows directory + "SYSTEM32\"
  char SourceDir[SETUP_PATH_SIZE];  // STF_SRCDIR as the toolkit gives it
  char StartDir[SETUP_PATH_SIZE];   // current directory at launch, ends in a backslash
};

extern SetupPathBuffers SetupPaths;
