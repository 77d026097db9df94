#include "support/text_parsing.h"

#include "support/fatal_path.h"

LPSTR FindChar(LPCSTR text, INT c) {
  char wanted = static_cast<char>(c & 0xFF);
  for (LPCSTR p = text; *p != '\0'; p = CharNextA(p)) {
    if (*p == wanted) return const_cast<LPSTR>(p);
  }
  return nullptr;
}

// Two characters are the same only when all their bytes are: a lead byte
// alone says nothing about the character it starts.
static bool SameCharacter(LPCSTR a, LPCSTR b) {
  LPCSTR endA = CharNextA(a);
  if (endA - a != CharNextA(b) - b) return false;
  for (; a < endA; ++a, ++b) {
    if (*a != *b) return false;
  }
  return true;
}

INT FindSubstringPos(INT start, LPCSTR text, LPCSTR pattern) {
  if (start == 0) return 0;
  INT position = 1;
  LPCSTR p = text;
  for (; start > 1; --start) {
    if (*p == '\0') return 0;  // past the end: nothing can match
    p = CharNextA(p);
    ++position;
  }
  for (; *p != '\0'; p = CharNextA(p), ++position) {
    LPCSTR t = p;
    LPCSTR q = pattern;
    while (*q != '\0' && *t != '\0' && SameCharacter(t, q)) {
      t = CharNextA(t);
      q = CharNextA(q);
    }
    if (*q == '\0') return position;
  }
  return 0;
}

static LPCSTR EndOfField(LPCSTR p) {
  while (*p != '\0' && *p != ',') p = CharNextA(p);
  return p;
}

LPSTR GetNthCommaField(LPSTR list, INT n, LPSTR buffer, INT size) {
  if (n < 1) FatalSetupError();
  LPCSTR p = list;
  for (INT skip = n - 1; skip > 0; --skip) p = CharNextA(EndOfField(p));
  while (*p == ' ' || *p == '\t') p = CharNextA(p);

  LPCSTR end = EndOfField(p);
  INT length = static_cast<INT>(end - p);
  if (length > size) FailWithBufferOverflow();
  // Copied by length, so the list is never written to.
  for (INT i = 0; i < length; ++i) buffer[i] = p[i];
  buffer[length] = '\0';
  return buffer;
}

void StripTrailingBlanks(LPSTR text) {
  LPSTR run = nullptr;
  for (LPSTR p = text; *p != '\0'; p = CharNextA(p)) {
    if (*p != ' ') {
      run = nullptr;
    } else if (run == nullptr) {
      run = p;
    }
  }
  if (run != nullptr) *run = '\0';
}

LPSTR CopyStringPadded(LPSTR dst, LPCSTR src, INT n) {
  INT i = 0;
  for (; i < n && src[i] != '\0'; ++i) dst[i] = src[i];
  for (; i < n; ++i) dst[i] = '\0';
  return dst;
}
