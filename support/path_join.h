// Path joining in one shared scratch area with a fixed region per join
// routine, and the trailing backslash of directory paths (DBCS-aware).
#pragma once

#include "platform/win32.h"

#define PATH_SCRATCH_SIZE 2304
#define PATH_REGION1_SIZE 512   // ConcatPath
#define PATH_REGION2_SIZE 768   // ConcatPath3
#define PATH_REGION3_SIZE 1024  // ConcatPath4

extern char PathScratch[PATH_SCRATCH_SIZE];

// Each returns its own region, valid until the next call of the same routine.
// A join that would not fit its region takes the overflow path.
LPSTR ConcatPath(LPCSTR a, LPCSTR b);
LPSTR ConcatPath3(LPCSTR a, LPCSTR b, LPCSTR c);
LPSTR ConcatPath4(LPCSTR a, LPCSTR b, LPCSTR c, LPCSTR d);

// Does the path end in a backslash that is a character of its own (not the
// trail byte of a double-byte character)?
bool EndsInBackslash(LPCSTR path);
// Ends the path in a backslash unless it already does; needs one byte of room.
void AppendBackslash(LPSTR path);
// Removes one trailing backslash, if there is one.
void StripTrailingBackslash(LPSTR path);
// Leaves the directory of a file path, ending in its backslash ("" without one).
void StripFileName(LPSTR path);
