#include "path_lists.h"

#include "ansi_text.h"

namespace stf {
namespace {

bool StartsWithWord(const std::string& s, std::size_t at, const char* word) {
  for (std::size_t i = 0; word[i]; ++i) {
    if (at + i >= s.size() || ToUpperAscii(s[at + i]) != word[i]) return false;
  }
  return true;
}

// Where the value of a PATH line begins, or npos when the line sets no PATH.
std::size_t PathValueStart(const std::string& line) {
  std::size_t at = line.find_first_not_of(" \t");
  if (at == std::string::npos) return std::string::npos;
  if (StartsWithWord(line, at, "SET") && at + 3 < line.size() &&
      (line[at + 3] == ' ' || line[at + 3] == '\t')) {
    at = line.find_first_not_of(" \t", at + 3);
    if (at == std::string::npos) return std::string::npos;
  }
  if (!StartsWithWord(line, at, "PATH")) return std::string::npos;
  at += 4;
  const std::size_t after = line.find_first_not_of(" \t", at);
  if (after != std::string::npos && line[after] == '=') return after + 1;
  if (after != std::string::npos && after > at) return after;  // "PATH C:\DOS"
  return std::string::npos;
}

std::string WithoutTrailingBackslashes(std::string s) {
  while (s.size() > 3 && s.back() == '\\') s.pop_back();
  return s;
}

std::string Trimmed(const std::string& s) {
  const std::size_t first = s.find_first_not_of(' ');
  if (first == std::string::npos) return std::string();
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// The entries of value, each trimmed, in order, empty ones included.
std::vector<std::string> Entries(const std::string& value) {
  std::vector<std::string> entries;
  for (std::size_t start = 0; start <= value.size();) {
    std::size_t end = value.find(';', start);
    if (end == std::string::npos) end = value.size();
    entries.push_back(Trimmed(value.substr(start, end - start)));
    start = end + 1;
  }
  return entries;
}

std::string PrependEntry(const std::string& value, const std::string& dir) {
  std::string result = dir;
  const std::string wanted = WithoutTrailingBackslashes(dir);
  for (const std::string& entry : Entries(value)) {
    if (!entry.empty() && !EqualsNoCase(WithoutTrailingBackslashes(entry), wanted)) {
      result += ";" + entry;
    }
  }
  return result;
}

}  // namespace

std::vector<std::string> SplitSearchPath(const std::string& value) {
  std::vector<std::string> dirs;
  for (std::string dir : Entries(value)) {
    if (dir.size() >= 2 && dir.front() == '"' && dir.back() == '"') {
      dir = dir.substr(1, dir.size() - 2);
    }
    if (!dir.empty()) dirs.push_back(dir);
  }
  return dirs;
}

std::string PrependToPathLine(const std::string& text, const std::string& dir) {
  std::string out;
  bool done = false;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = text.find('\n', start);
    const std::size_t next = end == std::string::npos ? text.size() : end + 1;
    std::string line = text.substr(start, (end == std::string::npos ? text.size() : end) - start);
    const std::string eol = text.substr(start + line.size(), next - start - line.size());
    const bool cr = !line.empty() && line.back() == '\r';
    if (cr) line.pop_back();
    const std::size_t value = done ? std::string::npos : PathValueStart(line);
    if (value != std::string::npos) {
      line = line.substr(0, value) + PrependEntry(line.substr(value), dir);
      done = true;
    }
    out += line + (cr ? "\r" : "") + eol;
    start = next;
  }
  if (!done) {
    if (!out.empty() && out.back() != '\n') out += "\r\n";
    out += "PATH=" + dir + "\r\n";
  }
  return out;
}

}  // namespace stf
