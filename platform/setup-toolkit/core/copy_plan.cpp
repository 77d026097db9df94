#include "copy_plan.h"

#include <cstring>
#include <map>
#include <utility>

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

bool CheckName(const InfFile& inf, const InfLine& line, const std::string& name,
               LeadBytePredicate isLead, InfError* err) {
  std::string problem;
  if (IsSafeFileName(name, isLead, &problem)) return true;
  err->file = inf.path;
  err->line = line.line;
  err->message = "unsafe file name '" + name + "': " + problem;
  return false;
}

// Offset just past the next real backslash at or after i, or text.size().
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

std::string JoinPath(const std::string& dir, const std::string& name, LeadBytePredicate isLead) {
  if (dir.empty() || EndsWithBackslash(dir, isLead)) return dir + name;
  return dir + '\\' + name;
}

bool PlanCopyLine(const InfFile& inf, const InfLine& line, const std::string& sourceDir,
                  const std::string& destDir, LeadBytePredicate isLead, CopyEntry* out,
                  InfError* err) {
  CopyEntry entry;
  if (!ReadFileRecord(inf, line, &entry.record, err)) return false;
  if (!CheckName(inf, line, entry.record.diskName, isLead, err)) return false;
  if (!CheckName(inf, line, entry.record.installName, isLead, err)) return false;
  entry.sourcePath = JoinPath(sourceDir, entry.record.diskName, isLead);
  entry.destPath = JoinPath(destDir, entry.record.installName, isLead);
  for (const std::string* path : {&entry.sourcePath, &entry.destPath}) {
    if (path->size() > kMaxPathBytes) {
      err->file = inf.path;
      err->line = line.line;
      err->message = "path '" + *path + "' is longer than " + std::to_string(kMaxPathBytes) +
                     " bytes";
      return false;
    }
  }
  *out = std::move(entry);
  return true;
}

bool PlanCopyList(const InfFile& inf, const std::string& section, const std::string& sourceDir,
                  const std::string& destDir, LeadBytePredicate isLead,
                  std::vector<CopyEntry>* out, InfError* err) {
  out->clear();
  const InfSection* found = FindSection(inf, section);
  if (found == nullptr) {
    err->file = inf.path;
    err->line = 0;
    err->message = "section [" + section + "] not found";
    return false;
  }
  std::vector<CopyEntry> entries;
  std::map<std::string, int, NoCaseLess> lineOf;  // destination -> INF line
  for (const InfLine& line : found->lines) {
    CopyEntry entry;
    if (!PlanCopyLine(inf, line, sourceDir, destDir, isLead, &entry, err)) return false;
    const auto earlier = lineOf.emplace(entry.destPath, line.line);
    if (!earlier.second) {
      err->file = inf.path;
      err->line = line.line;
      err->message = "'" + entry.destPath + "' is already installed by line " +
                     std::to_string(earlier.first->second);
      return false;
    }
    entries.push_back(std::move(entry));
  }
  *out = std::move(entries);
  return true;
}

void SplitPath(const std::string& path, LeadBytePredicate isLead, std::string* dir,
               std::string* name) {
  const char* begin = path.data();
  const char* end = begin + path.size();
  std::size_t cut = 0;
  for (const char* p = begin; p < end;) {
    const std::size_t length = CharLength(p, end, isLead);
    p += length;
    if (length == 1 && p[-1] == '\\') cut = static_cast<std::size_t>(p - begin);
  }
  *dir = path.substr(0, cut);
  *name = path.substr(cut);
}

std::size_t RootLength(const std::string& path, LeadBytePredicate isLead) {
  const std::string drive = DriveOfPath(path, isLead);
  const std::size_t root = drive.empty() ? 0 : drive.size() == 1 ? 3 : drive.size() + 1;
  return root < path.size() ? root : path.size();
}

std::string TakeComponent(std::string* rest, LeadBytePredicate isLead) {
  const char* begin = rest->data();
  const char* end = begin + rest->size();
  const char* p = begin;
  while (p < end && !(*p == '\\' && CharLength(p, end, isLead) == 1)) {
    p += CharLength(p, end, isLead);
  }
  std::string component(begin, p);
  *rest = p < end ? std::string(p + 1, end) : std::string();
  return component;
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

std::vector<DriveCost> CopyListCost(const std::vector<CopyEntry>& entries,
                                    LeadBytePredicate isLead) {
  std::vector<DriveCost> costs;
  for (const CopyEntry& entry : entries) {
    const std::string drive = DriveOfPath(entry.destPath, isLead);
    DriveCost* cost = nullptr;
    for (DriveCost& known : costs) {
      if (EqualsNoCase(known.drive, drive)) cost = &known;
    }
    if (cost == nullptr) {
      costs.push_back(DriveCost{drive, 0});
      cost = &costs.back();
    }
    const std::uint64_t size = entry.record.size;
    cost->bytes = cost->bytes > UINT64_MAX - size ? UINT64_MAX : cost->bytes + size;
  }
  return costs;
}

}  // namespace stf
