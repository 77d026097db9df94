#include "support/removal_paths.h"

#include "platform/setup-toolkit/core/dbcs_path.h"
#include "platform/setup-toolkit/core/path_syntax.h"

using stf::LeadBytePredicate;

// The path without one trailing backslash of its own.
static std::string Trimmed(const std::string& path, LeadBytePredicate isLead) {
  return stf::EndsWithBackslash(path, isLead) ? path.substr(0, path.size() - 1) : path;
}

bool SameDirectory(const std::string& a, const std::string& b, LeadBytePredicate isLead) {
  return stf::EqualsNoCase(Trimmed(a, isLead), Trimmed(b, isLead));
}

// Does `path` start with `head` (compared without ASCII case) and end a
// character there, followed by a backslash or by its end?
static bool StartsAtCharacter(const std::string& path, const std::string& head,
                              LeadBytePredicate isLead) {
  if (path.size() < head.size()) return false;
  std::size_t at = 0;
  while (at < head.size()) at += stf::CharLength(path.data() + at, path.data() + path.size(), isLead);
  if (at != head.size() || !stf::EqualsNoCase(path.substr(0, at), head)) return false;
  return at == path.size() || path[at] == '\\';
}

// Is `outer` (no trailing backslash) `inner` or a directory above it?
static bool IsAtOrAbove(const std::string& outer, const std::string& inner,
                        LeadBytePredicate isLead) {
  const std::string below = Trimmed(inner, isLead);
  return !below.empty() && StartsAtCharacter(below, outer, isLead);
}

// Checks each part: none empty, "." or "..", none with a wildcard, a colon
// (a stream), a slash or a control character. `last` gets the final part.
static bool PlainParts(const std::string& parts, LeadBytePredicate isLead, std::string* last) {
  const char* end = parts.data() + parts.size();
  std::size_t start = 0;
  for (std::size_t at = 0;;) {
    if (at == parts.size() || parts[at] == '\\') {
      const std::string part = parts.substr(start, at - start);
      if (part.empty() || part == "." || part == "..") return false;
      *last = part;
      if (at == parts.size()) return true;
      start = ++at;
      continue;
    }
    const std::size_t length = stf::CharLength(parts.data() + at, end, isLead);
    const unsigned char c = static_cast<unsigned char>(parts[at]);
    if (length == 1 && (c < 0x20 || c == '*' || c == '?' || c == ':' || c == '/')) return false;
    at += length;
  }
}

FolderVerdict JudgeProductFolder(const std::string& folder, const std::string& productFolderName,
                                 const ProtectedDirs& dirs, LeadBytePredicate isLead) {
  if (folder.size() > stf::kMaxPathBytes) return kFolderTooLong;
  const std::string path = Trimmed(folder, isLead);
  const char drive = path.empty() ? '\0' : path[0];
  const bool letter = (drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z');
  if (!letter || path.size() < 2 || path[1] != ':') return kFolderNotFull;
  if (path.size() == 2) return folder.size() == 3 ? kFolderRoot : kFolderNotFull;
  if (path[2] != '\\') return kFolderNotFull;  // "C:folder": relative to the drive's current folder
  std::string last;
  if (!PlainParts(path.substr(3), isLead, &last)) return kFolderOddName;
  for (const std::string* dir : {&dirs.windowsDir, &dirs.systemDir, &dirs.programFilesDir}) {
    if (IsAtOrAbove(path, *dir, isLead)) return kFolderSystem;
  }
  return stf::EqualsNoCase(last, productFolderName) ? kFolderOurs : kFolderNotProducts;
}

const char* FolderVerdictText(FolderVerdict verdict) {
  switch (verdict) {
    case kFolderOurs: return "the product's folder";
    case kFolderNotFull: return "not a full path of a folder on a drive";
    case kFolderRoot: return "the root of a drive";
    case kFolderOddName: return "not a plain folder path";
    case kFolderSystem: return "a directory of Windows itself";
    case kFolderNotProducts: return "not this product's folder";
    case kFolderTooLong: return "longer than a folder's path may be";
  }
  return "not this product's folder";
}

bool FileDirectlyIn(const std::string& file, const std::string& folder, LeadBytePredicate isLead) {
  const std::string dir = Trimmed(folder, isLead);
  if (dir.empty() || file.size() > stf::kMaxPathBytes || file.size() <= dir.size() + 1 ||
      !StartsAtCharacter(file, dir, isLead)) {
    return false;
  }
  const std::string name = file.substr(dir.size() + 1);
  std::string last;
  // One plain part: no further backslash, no "..", no wildcard or stream.
  return PlainParts(name, isLead, &last) && last == name;
}
