// Path joining, and the trailing backslash of directory paths (DBCS-aware:
// the walks are the core's, with the system's lead-byte test).
#pragma once

#include <string>

#include "platform/win32.h"
#include "support/fatal_path.h"

// a + b + c + d into the caller's buffer of size bytes; false, the buffer
// unchanged, when the join would not fit.
bool JoinPathParts(LPSTR buffer, int size, LPCSTR a, LPCSTR b, LPCSTR c = "", LPCSTR d = "");

// a + b into the caller's own buffer, which it returns: every result has a
// buffer of its own. A join that would not fit takes the overflow path.
template <int N>
LPSTR ConcatPath(char (&buffer)[N], LPCSTR a, LPCSTR b) {
  if (!JoinPathParts(buffer, N, a, b)) FailWithBufferOverflow();
  return buffer;
}

// Does the path end in a backslash that is a character of its own (not the
// trail byte of a double-byte character)?
bool EndsInBackslash(LPCSTR path);
// Ends the path in a backslash unless it already does; needs one byte of room.
void AppendBackslash(LPSTR path);
// Removes one trailing backslash, if there is one.
void StripTrailingBackslash(LPSTR path);
// Leaves the directory of a file path, ending in its backslash ("" without one).
void StripFileName(LPSTR path);
// The name after the path's last backslash (the whole path without one).
LPCSTR FileNameOfPath(LPCSTR path);

// The system's lead-byte test, for the core's path walks.
bool IsSystemLeadByte(unsigned char byte);
// Is the name a plain file name that stays in its folder (no separator, no
// "..", no drive or stream, no device name)? Checked before a name from the
// INF is used to read a file of the disk.
bool IsPlainFileName(const std::string& name);
