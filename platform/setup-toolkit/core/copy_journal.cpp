#include "copy_journal.h"

#include <cstring>

namespace stf {
namespace {

constexpr char kHeader[] = "STF copy journal 1";
// Far above any real journal; a damaged size must not exhaust memory.
constexpr std::uint64_t kMaxJournalBytes = 64 * 1024 * 1024;

std::vector<std::string> SplitTabs(const std::string& text) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t tab; (tab = text.find('\t', start)) != std::string::npos; start = tab + 1) {
    parts.push_back(text.substr(start, tab - start));
  }
  parts.push_back(text.substr(start));
  return parts;
}

bool StartsWith(const std::string& text, const char* prefix, std::string* rest) {
  const std::size_t n = std::strlen(prefix);
  if (text.compare(0, n, prefix) != 0) return false;
  *rest = text.substr(n);
  return true;
}

SysError WriteWhole(FileSystem& fs, const std::string& path, const std::string& text,
                    std::string* call) {
  FileHandle file = nullptr;
  SysError error = fs.CreateWrite(path, &file);
  if (error != 0) {
    *call = "CreateFileA " + path;
    return error;
  }
  error = fs.Write(file, text.data(), text.size());
  if (error != 0) *call = "WriteFile " + path;
  if (error == 0 && (error = fs.Flush(file)) != 0) *call = "FlushFileBuffers " + path;
  const SysError closed = fs.Close(file);
  if (error == 0 && closed != 0) {
    *call = "CloseHandle " + path;
    error = closed;
  }
  return error;
}

}  // namespace

std::string JournalText(const Journal& journal) {
  std::string text = std::string(kHeader) + "\n";
  text += journal.state == JournalState::kCommit ? "state commit\n" : "state staging\n";
  for (const std::string& stage : journal.stages) text += "stage " + stage + "\n";
  if (!journal.scratch.empty()) text += "scratch " + journal.scratch + "\n";
  for (const JournalEntry& e : journal.entries) {
    text += std::string("file ") + (e.had ? "1" : "0") + "\t" + e.target + "\t" + e.staged + "\t" +
            e.old + "\t" + e.busy + "\n";
  }
  return text + "end\n";
}

bool ParseJournal(const std::string& text, Journal* out) {
  *out = Journal();
  JournalState state = JournalState::kStaging;
  bool header = false, whole = false;
  std::size_t start = 0;
  while (start < text.size() && !whole) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) break;  // a last line without its end was cut short
    std::string line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::string rest;
    if (!header) {
      if (line != kHeader) return false;
      header = true;
    } else if (line == "state commit") {
      state = JournalState::kCommit;
    } else if (line == "state staging") {
      state = JournalState::kStaging;
    } else if (StartsWith(line, "stage ", &rest)) {
      out->stages.push_back(rest);
    } else if (StartsWith(line, "scratch ", &rest)) {
      out->scratch = rest;
    } else if (StartsWith(line, "file ", &rest)) {
      const std::vector<std::string> f = SplitTabs(rest);
      if (f.size() != 5 || (f[0] != "0" && f[0] != "1")) return false;
      out->entries.push_back({f[0] == "1", f[1], f[2], f[3], f[4]});
    } else if (line == "end") {
      whole = true;
    } else {
      return false;
    }
  }
  if (whole) out->state = state;
  return whole;
}

SysError WriteJournal(FileSystem& fs, const Journal& journal, const std::string& path,
                      const std::string& scratch, std::string* call) {
  const std::string text = JournalText(journal);
  if (scratch.empty()) return WriteWhole(fs, path, text, call);
  SysError error = WriteWhole(fs, scratch, text, call);
  if (error == 0 && (error = fs.Move(scratch, path, true)) != 0) {
    *call = "MoveFileExA " + scratch + " to " + path;
  }
  return error;
}

SysError ReadJournal(FileSystem& fs, const std::string& path, std::string* text) {
  FileStat stat;
  SysError error = fs.Stat(path, &stat);
  if (error != 0) return error;
  FileHandle file = nullptr;
  if ((error = fs.OpenRead(path, &file)) != 0) return error;
  // A larger file is no journal of ours; cut, it reads as one cut short.
  const std::uint64_t size = stat.size < kMaxJournalBytes ? stat.size : kMaxJournalBytes;
  text->assign(static_cast<std::size_t>(size), '\0');
  std::size_t got = 0;
  error = fs.Read(file, 0, &(*text)[0], text->size(), &got);
  text->resize(got);
  fs.Close(file);
  return error;
}

}  // namespace stf
