#include "support/path_join.h"

#include <cstring>

#include "platform/setup-toolkit/core/dbcs_path.h"
#include "platform/setup-toolkit/core/path_syntax.h"

bool JoinPathParts(LPSTR buffer, int size, LPCSTR a, LPCSTR b, LPCSTR c, LPCSTR d) {
  LPCSTR parts[] = {a, b, c, d};
  int total = 0;
  for (LPCSTR part : parts) total += lstrlenA(part);
  if (total >= size) return false;
  lstrcpyA(buffer, a);
  for (int i = 1; i < 4; ++i) lstrcatA(buffer, parts[i]);
  return true;
}

bool IsSystemLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

static const stf::LeadBytePredicate IsLeadByte = IsSystemLeadByte;

bool IsPlainFileName(const std::string& name) {
  std::string problem;
  return stf::IsSafeFileName(name, IsLeadByte, &problem);
}

// The offset of the path's last character when it is a backslash of its own;
// -1 otherwise (a 0x5C trail byte belongs to its double-byte character).
static int TrailingBackslashAt(LPCSTR path) {
  const std::size_t size = std::strlen(path);
  std::size_t length = 0;
  const std::size_t at = stf::LastCharacterIn(path, path + size, IsLeadByte, &length);
  return length == 1 && path[at] == '\\' ? static_cast<int>(at) : -1;
}

bool EndsInBackslash(LPCSTR path) { return TrailingBackslashAt(path) >= 0; }

void AppendBackslash(LPSTR path) {
  if (EndsInBackslash(path)) return;
  lstrcatA(path, "\\");
}

void StripTrailingBackslash(LPSTR path) {
  const int at = TrailingBackslashAt(path);
  if (at >= 0) path[at] = '\0';
}

void StripFileName(LPSTR path) { path[stf::AfterLastBackslash(path, IsLeadByte)] = '\0'; }

LPCSTR FileNameOfPath(LPCSTR path) { return path + stf::AfterLastBackslash(path, IsLeadByte); }
