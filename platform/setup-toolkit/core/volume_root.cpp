#include "volume_root.h"

namespace stf {

static bool IsSeparator(char c) { return c == '\\' || c == '/'; }

std::string VolumeRootOf(const std::string& path, LeadBytePredicate isLead) {
  if (path.size() >= 2 && path[1] == ':') return path.substr(0, 2) + "\\";
  if (path.size() < 2 || !IsSeparator(path[0]) || !IsSeparator(path[1])) return std::string();
  // Past "\\", the share's root ends at the separator after the share name;
  // a trail byte of 0x5C there is part of a name, not a separator.
  const char* begin = path.c_str();
  const char* end = begin + path.size();
  int separators = 0;
  for (const char* p = begin + 2; p < end; p += CharLength(p, end, isLead)) {
    if (!IsSeparator(*p)) continue;
    if (++separators == 2) return path.substr(0, p - begin) + "\\";
  }
  return separators == 1 && !IsSeparator(path.back()) ? path + "\\" : std::string();
}

}  // namespace stf
