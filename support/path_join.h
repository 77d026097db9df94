// Path joining, and the trailing backslash of directory paths (DBCS-aware).
#pragma once

#include "platform/win32.h"

#define PATH_SCRATCH_SIZE 512

extern char PathScratch[PATH_SCRATCH_SIZE];

// a + b in the one scratch area, valid until the next ConcatPath: for a
// result used at once (an argument, a log line), never for one kept beside
// another. A join that would not fit takes the overflow path.
LPSTR ConcatPath(LPCSTR a, LPCSTR b);
// a + b + c + d into the caller's buffer of size bytes; false, the buffer
// unchanged, when the join would not fit.
bool JoinPathParts(LPSTR buffer, int size, LPCSTR a, LPCSTR b, LPCSTR c = "", LPCSTR d = "");

// Does the path end in a backslash that is a character of its own (not the
// trail byte of a double-byte character)?
bool EndsInBackslash(LPCSTR path);
// Ends the path in a backslash unless it already does; needs one byte of room.
void AppendBackslash(LPSTR path);
// Removes one trailing backslash, if there is one.
void StripTrailingBackslash(LPSTR path);
// Leaves the directory of a file path, ending in its backslash ("" without one).
void StripFileName(LPSTR path);
