#include "copy_journal.h"

#include <cstring>

#include "ansi_text.h"
#include "number_text.h"

namespace stf {
namespace {

constexpr char kHeader1[] = "STF copy journal 1";
constexpr char kHeader2[] = "STF copy journal 2";
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

bool SameStart(const std::string& text, const std::string& prefix) {
  return text.size() >= prefix.size() &&
         ToUpperAscii(text.substr(0, prefix.size())) == ToUpperAscii(prefix);
}

// Names are cut only at the fixed ASCII ends setup gave them: a double-byte
// character may hold a backslash as its second byte.
std::string DirOfJournal(const std::string& path) {
  const std::size_t n = sizeof kJournalName - 1;
  const std::string tail = std::string("\\") + kJournalName;
  if (path.size() <= n || !SameStart(path.substr(path.size() - n - 1), tail)) return std::string();
  return path.substr(0, path.size() - n);
}

// The directory a top-level staging folder lies in; empty for any other path.
std::string ParentOfStage(const std::string& stage) {
  const std::size_t n = 16;  // ~stf<8 hex digits>.tmp
  if (stage.size() <= n || stage[stage.size() - n - 1] != '\\' ||
      !IsStagingName(stage.substr(stage.size() - n))) {
    return std::string();
  }
  return stage.substr(0, stage.size() - n);
}

std::string Hex8(std::uint32_t value) { return HexText(value, 8); }

}  // namespace

bool IsStagingName(const std::string& name) {
  const std::string upper = ToUpperAscii(name);
  if (upper.size() != 16 || upper.compare(0, 4, "~STF") != 0 ||
      upper.compare(12, 4, ".TMP") != 0) {
    return false;
  }
  for (std::size_t i = 4; i < 12; ++i) {
    const char c = upper[i];
    if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
  }
  return true;
}

namespace {

bool ParseFileLine(const std::string& rest, int version, JournalEntry* e) {
  const std::vector<std::string> f = SplitTabs(rest);
  const std::size_t n = version == 1 ? 5 : 6;
  if (f.size() != n || (f[0] != "0" && f[0] != "1")) return false;
  e->had = f[0] == "1";
  std::size_t i = 1;
  if (version == 2) {
    char* end = nullptr;
    e->attributes = static_cast<std::uint32_t>(std::strtoul(f[1].c_str(), &end, 16));
    if (f[1].empty() || *end != '\0') return false;
    i = 2;
  }
  e->target = f[i];
  e->staged = f[i + 1];
  e->old = f[i + 2];
  e->busy = f[i + 3];
  return true;
}

bool ParseLine(const std::string& line, int version, Journal* out) {
  std::string rest;
  if (line == "state commit") {
    out->state = JournalState::kCommit;
  } else if (line == "state staging") {
    out->state = JournalState::kStaging;
  } else if (line == "state undo" && version == 2) {
    out->state = JournalState::kUndo;
  } else if (version == 2 && StartsWith(line, "dir ", &rest)) {
    out->dir = rest;
  } else if (StartsWith(line, "stage ", &rest)) {
    out->stages.push_back(rest);
  } else if (StartsWith(line, "scratch ", &rest)) {
    out->scratch = rest;
  } else if (StartsWith(line, "file ", &rest)) {
    JournalEntry e;
    if (!ParseFileLine(rest, version, &e)) return false;
    out->entries.push_back(e);
  } else {
    return false;
  }
  return true;
}

// Version 2 ends "sum <crc>\nend\n" over the text before; version 1 ends "end\n".
bool CheckEnding(const std::string& text, int* version, std::string* body, std::string* why) {
  const std::size_t firstLine = text.find('\n');
  const std::string header = text.substr(0, firstLine == std::string::npos ? 0 : firstLine);
  *version = header == kHeader2 ? 2 : header == kHeader1 ? 1 : 0;
  if (*version == 0) {
    *why = "it does not begin as a journal does";
    return false;
  }
  if (text.size() < 4 || text.compare(text.size() - 4, 4, "end\n") != 0 ||
      (text.size() > 4 && text[text.size() - 5] != '\n')) {
    *why = "its final line is missing (it was cut short)";
    return false;
  }
  *body = text.substr(0, text.size() - 4);
  if (*version == 1) return true;
  const std::size_t sumLine = body->rfind('\n', body->size() - 2);
  std::string sum;
  if (sumLine == std::string::npos || !StartsWith(body->substr(sumLine + 1), "sum ", &sum) ||
      sum != Hex8(Crc32(body->substr(0, sumLine + 1))) + "\n") {
    *why = "its checksum does not match its text (it is damaged)";
    return false;
  }
  body->resize(sumLine + 1);
  return true;
}

// Every path lies in a staging directory of ours beside its target, and the
// journal in the directory it names.
bool CheckPaths(const Journal& j, const std::string& path, std::string* why) {
  if (j.dir.empty() || ToUpperAscii(j.dir) != ToUpperAscii(DirOfJournal(path))) {
    *why = "it belongs to the folder " + (j.dir.empty() ? std::string("(none)") : j.dir);
    return false;
  }
  auto stageOf = [&j](const std::string& p) -> const std::string* {
    for (const std::string& stage : j.stages) {
      if (SameStart(p, stage + "\\")) return &stage;
    }
    return nullptr;
  };
  for (std::size_t i = 0; i < j.stages.size(); ++i) {
    const std::string parent = ParentOfStage(j.stages[i]);
    if ((parent.empty() && stageOf(j.stages[i]) == nullptr) ||
        (i == 0 && ToUpperAscii(parent) != ToUpperAscii(j.dir))) {
      *why = "it names a staging folder that is not one of setup's: " + j.stages[i];
      return false;
    }
  }
  if (!j.scratch.empty() && stageOf(j.scratch) == nullptr &&
      ToUpperAscii(j.scratch) != ToUpperAscii(j.dir + kJournalScratchName)) {
    *why = "it names a scratch file outside its folders: " + j.scratch;
    return false;
  }
  for (const JournalEntry& e : j.entries) {
    const std::string* stage = stageOf(e.staged);
    std::string top = stage ? *stage : std::string();
    while (!top.empty() && ParentOfStage(top).empty()) top = stageOf(top) ? *stageOf(top) : "";
    if (top.empty() || !SameStart(e.target, ParentOfStage(top)) || !stageOf(e.old) ||
        !stageOf(e.busy)) {
      *why = "its record of " + e.target + " lies outside that file's folder";
      return false;
    }
  }
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

std::uint32_t Crc32(const std::string& text) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char c : text) {
    crc ^= c;
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

std::string JournalText(const Journal& journal) {
  std::string text = std::string(kHeader2) + "\n";
  text += "dir " + journal.dir + "\n";
  text += journal.state == JournalState::kCommit  ? "state commit\n"
          : journal.state == JournalState::kUndo ? "state undo\n"
                                                  : "state staging\n";
  for (const std::string& stage : journal.stages) text += "stage " + stage + "\n";
  if (!journal.scratch.empty()) text += "scratch " + journal.scratch + "\n";
  for (const JournalEntry& e : journal.entries) {
    text += std::string("file ") + (e.had ? "1" : "0") + "\t" + Hex8(e.attributes) + "\t" +
            e.target + "\t" + e.staged + "\t" + e.old + "\t" + e.busy + "\n";
  }
  text += "sum " + Hex8(Crc32(text)) + "\n";
  return text + "end\n";
}

bool ParseJournal(const std::string& text, const std::string& path, Journal* out,
                  std::string* why) {
  *out = Journal();
  int version = 0;
  std::string body;
  if (!CheckEnding(text, &version, &body, why)) return false;
  if (version == 1) out->dir = DirOfJournal(path);
  std::size_t start = body.find('\n') + 1;
  for (std::size_t end; (end = body.find('\n', start)) != std::string::npos; start = end + 1) {
    std::string line = body.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!ParseLine(line, version, out)) {
      *why = "a line is not understood: " + line.substr(0, 80);
      return false;
    }
  }
  if (out->stages.empty()) {
    *why = "it names no staging folder";
    return false;
  }
  return CheckPaths(*out, path, why);
}

SysError WriteJournal(FileSystem& fs, const Journal& journal, const std::string& path,
                      const std::string& scratch, std::string* call) {
  SysError error = WriteWhole(fs, scratch, JournalText(journal), call);
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
