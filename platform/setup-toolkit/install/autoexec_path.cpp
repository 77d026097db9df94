// Putting a directory at the front of the PATH line of an AUTOEXEC.BAT-style
// file. The line is the first one of the forms "PATH=...", "PATH ..." or
// "SET PATH=..." (any case, leading blanks allowed); its entries are separated
// by ';'. The directory becomes the first entry and any other entry naming it
// (without regard to case or a trailing backslash) goes; a file without such a
// line gains "PATH=<dir>" at its end. The result is written to szDst, which may
// be szFile itself; a missing szFile counts as empty.
#include <string>
#include <vector>

#include "platform/setup-toolkit/install/install_state.h"

namespace {

BOOL Fail(const std::string& what, DWORD error) {
  StfLogError(what.c_str(), error);
  SetLastError(error);
  return FALSE;
}

bool ReadWholeFile(LPCSTR file, std::string* text) {
  text->clear();
  HANDLE h = CreateFileA(file, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    DWORD error = GetLastError();
    SetLastError(error);
    return file[0] == '\0' || error == ERROR_FILE_NOT_FOUND;  // nothing yet: empty
  }
  char buffer[8192];
  DWORD got = 0;
  BOOL ok;
  while ((ok = ReadFile(h, buffer, sizeof buffer, &got, nullptr)) && got > 0) text->append(buffer, got);
  DWORD error = GetLastError();
  CloseHandle(h);
  SetLastError(error);
  return ok != FALSE;
}

bool StartsWithWord(const std::string& s, size_t at, const char* word) {
  for (size_t i = 0; word[i]; ++i) {
    if (at + i >= s.size()) return false;
    char c = s[at + i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != word[i]) return false;
  }
  return true;
}

// Where the value of a PATH line begins, or npos when the line sets no PATH.
size_t PathValueStart(const std::string& line) {
  size_t at = line.find_first_not_of(" \t");
  if (at == std::string::npos) return std::string::npos;
  if (StartsWithWord(line, at, "SET") && at + 3 < line.size() &&
      (line[at + 3] == ' ' || line[at + 3] == '\t')) {
    at = line.find_first_not_of(" \t", at + 3);
    if (at == std::string::npos) return std::string::npos;
  }
  if (!StartsWithWord(line, at, "PATH")) return std::string::npos;
  at += 4;
  size_t after = line.find_first_not_of(" \t", at);
  if (after != std::string::npos && line[after] == '=') return after + 1;
  if (after != std::string::npos && after > at) return after;  // "PATH C:\DOS"
  return std::string::npos;
}

std::string WithoutTrailingBackslash(std::string s) {
  while (s.size() > 3 && s.back() == '\\') s.pop_back();
  return s;
}

std::string PrependEntry(const std::string& value, const std::string& dir) {
  std::string result = dir;
  std::string wanted = WithoutTrailingBackslash(dir);
  size_t start = 0;
  while (start <= value.size()) {
    size_t end = value.find(';', start);
    if (end == std::string::npos) end = value.size();
    std::string entry = value.substr(start, end - start);
    size_t first = entry.find_first_not_of(' ');
    std::string trimmed = first == std::string::npos ? "" : entry.substr(first);
    while (!trimmed.empty() && trimmed.back() == ' ') trimmed.pop_back();
    if (!trimmed.empty() &&
        lstrcmpiA(WithoutTrailingBackslash(trimmed).c_str(), wanted.c_str()) != 0) {
      result += ";" + trimmed;
    }
    start = end + 1;
  }
  return result;
}

}  // namespace

extern "C" {

BOOL STFAPI FPrependToPath(LPCSTR file, LPCSTR dst, LPCSTR dir, UINT) {
  if (file == nullptr || dst == nullptr || dst[0] == '\0' || dir == nullptr || dir[0] == '\0' ||
      std::string(dir).find(';') != std::string::npos) {
    return Fail("FPrependToPath: bad arguments", ERROR_INVALID_PARAMETER);
  }
  std::string text;
  if (!ReadWholeFile(file, &text)) return Fail("ReadFile " + std::string(file), GetLastError());

  std::string out;
  bool done = false;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    size_t next = end == std::string::npos ? text.size() : end + 1;
    std::string line = text.substr(start, (end == std::string::npos ? text.size() : end) - start);
    std::string eol = text.substr(start + line.size(), next - start - line.size());
    bool cr = !line.empty() && line.back() == '\r';
    if (cr) line.pop_back();
    size_t value = done ? std::string::npos : PathValueStart(line);
    if (value != std::string::npos) {
      line = line.substr(0, value) + PrependEntry(line.substr(value), dir);
      done = true;
    }
    out += line + (cr ? "\r" : "") + eol;
    start = next;
  }
  if (!done) {
    if (!out.empty() && out.back() != '\n') out += "\r\n";
    out += "PATH=" + std::string(dir) + "\r\n";
  }

  HANDLE h = CreateFileA(dst, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) return Fail("CreateFileA " + std::string(dst), GetLastError());
  DWORD written = 0;
  BOOL ok = WriteFile(h, out.data(), static_cast<DWORD>(out.size()), &written, nullptr) &&
            written == out.size();
  DWORD error = GetLastError();
  CloseHandle(h);
  if (!ok) return Fail("WriteFile " + std::string(dst), error);
  return TRUE;
}

}  // extern "C"
