#include "copy_plan.h"

#include <map>
#include <utility>

namespace stf {
namespace {

bool CheckName(const InfFile& inf, const InfLine& line, const std::string& name,
               LeadBytePredicate isLead, InfError* err) {
  std::string problem;
  if (IsSafeFileName(name, isLead, &problem)) return true;
  err->file = inf.path;
  err->line = line.line;
  err->message = "unsafe file name '" + name + "': " + problem;
  return false;
}

}  // namespace

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

namespace {

// A decimal count, clamped; anything else counts 0.
std::uint64_t DecimalBytes(const std::string& text) {
  std::size_t i = text.find_first_not_of(" \t");
  std::uint64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    const unsigned digit = static_cast<unsigned>(text[i] - '0');
    if (value > (UINT64_MAX - digit) / 10) return UINT64_MAX;
    value = value * 10 + digit;
  }
  return value;
}

}  // namespace

void AddExtraCost(const std::string& item, unsigned n, std::vector<DriveCost>* costs) {
  std::string drive, number = item;
  const std::size_t equals = item.find('=');
  if (equals != std::string::npos) {
    drive = item.substr(0, equals);
    if (!drive.empty() && drive.back() == ':') drive.pop_back();
    number = item.substr(equals + 1);
  } else if (n >= 1 && n <= 26) {
    drive = std::string(1, static_cast<char>('A' + n - 1));
  }
  const std::uint64_t bytes = DecimalBytes(number);
  if (drive.empty() || bytes == 0) return;
  if (drive.size() == 1) drive = ToUpperAscii(drive);
  for (DriveCost& cost : *costs) {
    if (EqualsNoCase(cost.drive, drive)) {
      cost.bytes = cost.bytes > UINT64_MAX - bytes ? UINT64_MAX : cost.bytes + bytes;
      return;
    }
  }
  costs->push_back(DriveCost{drive, bytes});
}

}  // namespace stf
