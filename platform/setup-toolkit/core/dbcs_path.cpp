#include "dbcs_path.h"

#include <cstring>

namespace stf {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Calls visit(offset, length) for every character of text.
template <typename Visit>
void EachCharacter(const std::string& text, LeadBytePredicate isLead, Visit visit) {
  const char* begin = text.data();
  const char* end = begin + text.size();
  for (const char* p = begin; p < end;) {
    const std::size_t length = CharLength(p, end, isLead);
    visit(static_cast<std::size_t>(p - begin), length);
    p += length;
  }
}

// The offset just past the first backslash at or after i, or the text's size.
std::size_t SkipPastBackslash(const std::string& text, std::size_t i, LeadBytePredicate isLead) {
  const char* begin = text.data();
  const char* end = begin + text.size();
  for (const char* p = begin + i; p < end;) {
    const std::size_t length = CharLength(p, end, isLead);
    p += length;
    if (length == 1 && p[-1] == '\\') return static_cast<std::size_t>(p - begin);
  }
  return text.size();
}

// The offset and length of the text's last character; length 0 when empty.
void LastCharacter(const std::string& text, LeadBytePredicate isLead, std::size_t* at,
                   std::size_t* length) {
  *at = LastCharacterIn(text.data(), text.data() + text.size(), isLead, length);
}

}  // namespace

std::size_t LastCharacterIn(const char* begin, const char* end, LeadBytePredicate isLead,
                            std::size_t* length) {
  std::size_t at = 0;
  *length = 0;
  for (const char* p = begin; p < end; p += *length) {
    at = static_cast<std::size_t>(p - begin);
    *length = CharLength(p, end, isLead);
  }
  return at;
}

std::size_t AfterLastBackslash(const char* text, LeadBytePredicate isLead) {
  const char* end = text + std::strlen(text);
  std::size_t after = 0;
  for (const char* p = text; p < end;) {
    const std::size_t length = CharLength(p, end, isLead);
    p += length;
    if (length == 1 && p[-1] == '\\') after = static_cast<std::size_t>(p - text);
  }
  return after;
}

std::size_t FileNameStart(const std::string& path, LeadBytePredicate isLead) {
  std::size_t start = path.size() >= 2 && path[1] == ':' ? 2 : 0;
  EachCharacter(path, isLead, [&](std::size_t offset, std::size_t length) {
    if (length == 1 && IsSeparator(path[offset])) start = offset + 1;
  });
  return start;
}

void SplitPath(const std::string& path, LeadBytePredicate isLead, std::string* dir,
               std::string* name) {
  const std::size_t cut = FileNameStart(path, isLead);
  *dir = path.substr(0, cut);
  *name = path.substr(cut);
}

std::string DirectoryOf(const std::string& path, LeadBytePredicate isLead) {
  return path.substr(0, FileNameStart(path, isLead));
}

std::string FileNameOf(const std::string& path, LeadBytePredicate isLead) {
  return path.substr(FileNameStart(path, isLead));
}

bool EndsWithBackslash(const std::string& text, LeadBytePredicate isLead) {
  std::size_t at, length;
  LastCharacter(text, isLead, &at, &length);
  return length == 1 && text[at] == '\\';
}

std::string WithBackslash(const std::string& dir, LeadBytePredicate isLead) {
  return dir.empty() || EndsWithBackslash(dir, isLead) ? dir : dir + '\\';
}

std::string WithoutBackslash(const std::string& dir, LeadBytePredicate isLead) {
  if (!EndsWithBackslash(dir, isLead) || dir.size() == 1 || (dir.size() == 3 && dir[1] == ':')) {
    return dir;
  }
  return dir.substr(0, dir.size() - 1);
}

std::string JoinPath(const std::string& dir, const std::string& name, LeadBytePredicate isLead) {
  std::size_t at, length;
  LastCharacter(dir, isLead, &at, &length);
  if (dir.empty() || (length == 1 && IsSeparator(dir[at]))) return dir + name;
  return dir + '\\' + name;
}

bool IsRooted(const std::string& path) {
  return (!path.empty() && IsSeparator(path[0])) || (path.size() >= 2 && path[1] == ':');
}

std::size_t RootLength(const std::string& path, LeadBytePredicate isLead) {
  const std::string drive = DriveOfPath(path, isLead);
  std::size_t root = drive.size() + 1;  // "\\server\share\"
  if (drive.empty()) root = 0;
  if (drive.size() == 1) root = path.size() > 2 && IsSeparator(path[2]) ? 3 : 2;  // "C:\", "C:"
  return root < path.size() ? root : path.size();
}

std::string TakeComponent(std::string* rest, LeadBytePredicate isLead) {
  std::size_t cut = std::string::npos;
  EachCharacter(*rest, isLead, [&](std::size_t offset, std::size_t length) {
    if (cut == std::string::npos && length == 1 && (*rest)[offset] == '\\') cut = offset;
  });
  std::string component = rest->substr(0, cut);
  *rest = cut == std::string::npos ? std::string() : rest->substr(cut + 1);
  return component;
}

std::vector<std::string> DirectoryChain(const std::string& dir, LeadBytePredicate isLead) {
  std::vector<std::string> chain;
  std::string partial = dir.substr(0, RootLength(dir, isLead));
  std::string rest = dir.substr(partial.size());
  while (!rest.empty()) {
    const std::string component = TakeComponent(&rest, isLead);
    if (component.empty()) continue;
    partial = JoinPath(partial, component, isLead);
    chain.push_back(partial);
  }
  return chain;
}

std::string DriveOfPath(const std::string& path, LeadBytePredicate isLead) {
  if (path.size() >= 2 && path[1] == ':') {
    const char letter = ToUpperAscii(path[0]);
    if (letter >= 'A' && letter <= 'Z') return std::string(1, letter);
  }
  if (path.compare(0, 2, "\\\\") == 0) {
    const std::size_t share = SkipPastBackslash(path, 2, isLead);
    std::size_t end = SkipPastBackslash(path, share, isLead);
    if (end > share && EndsWithBackslash(path.substr(0, end), isLead)) --end;
    return path.substr(0, end);
  }
  return std::string();
}

std::string VolumeRootOf(const std::string& path, LeadBytePredicate isLead) {
  if (path.size() >= 2 && path[1] == ':') return path.substr(0, 2) + "\\";
  if (path.size() < 2 || !IsSeparator(path[0]) || !IsSeparator(path[1])) return std::string();
  // Past "\\", the share's root ends at the separator after the share name.
  int separators = 0;
  std::size_t rootEnd = std::string::npos;
  EachCharacter(path, isLead, [&](std::size_t offset, std::size_t length) {
    if (offset < 2 || rootEnd != std::string::npos || length != 1 || !IsSeparator(path[offset])) {
      return;
    }
    if (++separators == 2) rootEnd = offset;
  });
  if (rootEnd != std::string::npos) return path.substr(0, rootEnd) + "\\";
  return separators == 1 && !IsSeparator(path.back()) ? path + "\\" : std::string();
}

bool IsBareName(const std::string& name, LeadBytePredicate isLead) {
  bool bare = !name.empty();
  EachCharacter(name, isLead, [&](std::size_t offset, std::size_t length) {
    const char c = name[offset];
    if (length == 1 && (IsSeparator(c) || c == ':' || c == '*' || c == '?')) bare = false;
  });
  return bare;
}

}  // namespace stf
