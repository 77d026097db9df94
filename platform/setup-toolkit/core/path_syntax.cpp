#include "path_syntax.h"

#include <cstring>

#include "dbcs_path.h"

namespace stf {
namespace {

bool IsDeviceName(const std::string& name) {
  // The device is what comes before the first dot: "NUL.SYS" is NUL too.
  const std::string base = ToUpperAscii(name.substr(0, name.find('.')));
  static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CLOCK$"};
  for (const char* device : kDevices) {
    if (base == device) return true;
  }
  return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
         base[3] >= '1' && base[3] <= '9';
}

bool IsInvalidInName(unsigned char c) {
  return c < 0x20 || c == 0x7F || std::strchr("<>\"|?*", c) != nullptr;
}

// "C:\\" or "\\\\server\\share\\" (a bare "\\\\server\\share" counts one past its end),
// its server and share names valid; 0 when the path has no such root.
std::size_t FullRootLength(const std::string& path, LeadBytePredicate isLead) {
  const char drive = path.empty() ? '\0' : static_cast<char>(path[0] & ~0x20);
  if (path.size() >= 3 && drive >= 'A' && drive <= 'Z' && path[1] == ':' && path[2] == '\\') {
    return 3;
  }
  if (path.compare(0, 2, "\\\\") != 0) return 0;
  std::string rest = path.substr(2), problem;
  const std::string server = TakeComponent(&rest, isLead);
  const std::string share = TakeComponent(&rest, isLead);
  if (!IsSafeFileName(server, isLead, &problem) || !IsSafeFileName(share, isLead, &problem)) {
    return 0;
  }
  return 2 + server.size() + 1 + share.size() + 1;
}

// Every name after the root is one a file may have; an empty one (a doubled
// backslash) never is, but a directory may end in a backslash.
bool ValidNames(const std::string& path, std::size_t from, bool directory,
                LeadBytePredicate isLead) {
  if (from >= path.size()) return true;  // the root alone
  std::string name, problem;
  const char* end = path.data() + path.size();
  for (const char* p = path.data() + from;;) {
    const bool atEnd = p >= end;
    const std::size_t length = atEnd ? 0 : CharLength(p, end, isLead);
    if (atEnd || (length == 1 && *p == '\\')) {
      if (name.empty()) return atEnd && directory;
      if (!IsSafeFileName(name, isLead, &problem)) return false;
      if (atEnd) return true;
      name.clear();
    } else {
      name.append(p, length);
    }
    p += length;
  }
}

}  // namespace

bool IsSafeFileName(const std::string& name, LeadBytePredicate isLead, std::string* problem) {
  auto fail = [&](const char* why) {
    *problem = why;
    return false;
  };
  if (name.empty()) return fail("empty");
  if (name == "." || name == "..") return fail("names a directory, not a file");
  const char* end = name.data() + name.size();
  for (const char* p = name.data(); p < end;) {
    const std::size_t length = CharLength(p, end, isLead);
    if (length == 2) {
      p += 2;
      continue;
    }
    const unsigned char c = static_cast<unsigned char>(*p++);
    if (isLead != nullptr && isLead(c)) return fail("contains a lead byte without its trail byte");
    if (c == '\\' || c == '/') return fail("contains a path separator");
    if (c == ':') return fail("contains ':' (a drive or stream)");
    if (c < 0x20 || c == 0x7F) return fail("contains a control character");
    if (std::strchr("<>\"|?*", c) != nullptr) {
      return fail("contains a character invalid in file names");
    }
  }
  const char last = name.back();
  if (last == '.' || last == ' ') return fail("ends in a dot or blank");
  if (IsDeviceName(name)) return fail("is a device name");
  return true;
}

bool IsSafeFolderPath(const std::string& path, LeadBytePredicate isLead) {
  if (path.empty() || IsRooted(path)) return false;
  bool safe = true;
  std::string part;
  auto endPart = [&]() {
    if (part.empty() || part == "." || part == ".." || part.back() == ' ' || part.back() == '.') {
      safe = false;
    }
    part.clear();
  };
  const char* end = path.data() + path.size();
  for (const char* p = path.data(); p < end;) {
    const std::size_t length = CharLength(p, end, isLead);
    const unsigned char c = static_cast<unsigned char>(*p);
    if (length == 1 && (c == '\\' || c == '/')) {
      endPart();
    } else if (length == 1 && (c == ':' || IsInvalidInName(c))) {
      safe = false;
    } else {
      part.append(p, length);
    }
    p += length;
  }
  endPart();
  return safe;
}

bool IsValidFullPath(const std::string& path, bool directory, LeadBytePredicate isLead) {
  const std::size_t root = FullRootLength(path, isLead);
  return root != 0 && path.size() <= kMaxPathBytes && ValidNames(path, root, directory, isLead);
}

bool SplitFullPath(const std::string& path, LeadBytePredicate isLead, PathPieces* out) {
  if (!IsValidFullPath(path, false, isLead)) return false;
  const std::size_t root = FullRootLength(path, isLead);
  if (root > path.size()) {  // "\\\\server\\share": the volume alone, its root directory
    *out = PathPieces{path, "\\", ""};
    return true;
  }
  const std::size_t name = FileNameStart(path, isLead);
  *out = PathPieces{path.substr(0, root - 1), path.substr(root - 1, name - (root - 1)),
                    path.substr(name)};
  return true;
}

}  // namespace stf
