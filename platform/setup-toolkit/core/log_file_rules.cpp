#include "log_file_rules.h"

#include "number_text.h"

namespace stf {

std::string WriteRefusal(const OpenedFileFacts& facts) {
  if (!facts.identified) return "cannot be checked: Windows does not say what it is";
  if (facts.isDirectory) return "is a folder, not a file";
  if (facts.isReparsePoint) {
    return "is a symbolic link, junction or mount point; setup does not write through links";
  }
  if (facts.linkCount > 1) {
    return "has " + std::to_string(facts.linkCount) +
           " names (hard links); setup does not write to a file that shares its content with "
           "other names";
  }
  if (facts.elevated && facts.owner == FileOwner::kOther) {
    return "belongs to a user who is not an administrator; setup runs as an administrator "
           "and does not write to it";
  }
  return std::string();
}

std::string RunLogName(const std::string& program, const LocalTime& time, int attempt,
                       LeadBytePredicate isLead) {
  std::string name;
  for (std::size_t i = 0; i < program.size(); ++i) {
    const char c = program[i];
    if (isLead(static_cast<unsigned char>(c)) && i + 1 < program.size()) {
      name += program.substr(i++, 2);
      continue;
    }
    const bool reserved = static_cast<unsigned char>(c) < 0x20 || c == '\\' || c == '/' ||
                          c == ':' || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' ||
                          c == '|';
    name += reserved ? '_' : c;
  }
  name += ' ' + DecimalText(time.year, 4) + DecimalText(time.month, 2) +
          DecimalText(time.day, 2) + '-' + DecimalText(time.hour, 2) +
          DecimalText(time.minute, 2) + DecimalText(time.second, 2);
  if (attempt > 1) name += " (" + std::to_string(attempt) + ")";
  return name + ".log";
}

}  // namespace stf
