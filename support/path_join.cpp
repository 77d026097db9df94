#include "support/path_join.h"

#include "support/fatal_path.h"

char PathScratch[PATH_SCRATCH_SIZE];

static LPSTR Join(LPSTR region, int regionSize, LPCSTR const* parts, int count) {
  int total = 0;
  for (int i = 0; i < count; ++i) total += lstrlenA(parts[i]);
  // The text would run past the scratch area.
  if (total >= regionSize) FailWithBufferOverflow();
  lstrcpyA(region, parts[0]);
  for (int i = 1; i < count; ++i) lstrcatA(region, parts[i]);
  return region;
}

LPSTR ConcatPath(LPCSTR a, LPCSTR b) {
  LPCSTR parts[] = {a, b};
  return Join(PathScratch, PATH_SCRATCH_SIZE, parts, 2);
}

bool JoinPathParts(LPSTR buffer, int size, LPCSTR a, LPCSTR b, LPCSTR c, LPCSTR d) {
  LPCSTR parts[] = {a, b, c, d};
  int total = 0;
  for (LPCSTR part : parts) total += lstrlenA(part);
  if (total >= size) return false;
  lstrcpyA(buffer, a);
  for (int i = 1; i < 4; ++i) lstrcatA(buffer, parts[i]);
  return true;
}

// The start of the last character, or null for an empty string; a trail byte
// that happens to be 0x5C is part of its double-byte character.
static LPSTR LastCharacter(LPSTR path, LPSTR* terminator) {
  LPSTR last = nullptr;
  LPSTR p = path;
  while (*p != '\0') {
    last = p;
    p = CharNextA(p);
  }
  *terminator = p;
  return last;
}

static bool IsSingleByteBackslash(LPSTR character) {
  return character != nullptr && character[0] == '\\' && CharNextA(character) == character + 1;
}

bool EndsInBackslash(LPCSTR path) {
  LPSTR end;
  return IsSingleByteBackslash(LastCharacter(const_cast<LPSTR>(path), &end));
}

void AppendBackslash(LPSTR path) {
  LPSTR end;
  LPSTR last = LastCharacter(path, &end);
  if (IsSingleByteBackslash(last)) return;
  end[0] = '\\';
  end[1] = '\0';
}

void StripTrailingBackslash(LPSTR path) {
  LPSTR end;
  LPSTR last = LastCharacter(path, &end);
  if (IsSingleByteBackslash(last)) last[0] = '\0';
}

void StripFileName(LPSTR path) {
  LPSTR cut = path;
  for (LPSTR p = path; *p != '\0'; p = CharNextA(p)) {
    if (IsSingleByteBackslash(p)) cut = p + 1;
  }
  *cut = '\0';
}
