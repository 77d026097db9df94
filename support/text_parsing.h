// Searching, splitting and trimming 8-bit ANSI strings that may hold
// double-byte characters; every walk steps with CharNextA.
#pragma once

#include "platform/win32.h"

// The first character whose first byte is the low byte of c; null at the end.
LPSTR FindChar(LPCSTR text, INT c);
// 1-based character position of the first match at or after start; 0 if none.
INT FindSubstringPos(INT start, LPCSTR text, LPCSTR pattern);
// Field n (from 1) of a comma-separated list, leading blanks and tabs skipped.
// size counts characters without the terminator: the buffer holds size + 1.
LPSTR GetNthCommaField(LPSTR list, INT n, LPSTR buffer, INT size);
// Cuts the run of blanks (not tabs) at the end of the string.
void StripTrailingBlanks(LPSTR text);
// Writes exactly n bytes: the source, then zeros once its terminator is copied.
LPSTR CopyStringPadded(LPSTR dst, LPCSTR src, INT n);
