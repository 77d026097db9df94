#include "shortcut_command.h"

namespace stf {

void SplitShortcutCommand(const std::string& command, bool (*exists)(const std::string& path),
                          std::string* target, std::string* arguments) {
  target->clear();
  arguments->clear();
  const std::size_t start = command.find_first_not_of(' ');
  if (start == std::string::npos) return;
  const std::string text = command.substr(start);
  if (text[0] == '"') {
    const std::size_t close = text.find('"', 1);
    *target = text.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    if (close != std::string::npos) *arguments = text.substr(close + 1);
  } else if (exists(text)) {
    *target = text;
  } else {
    const std::size_t blank = text.find(' ');
    *target = text.substr(0, blank);
    if (blank != std::string::npos) *arguments = text.substr(blank + 1);
  }
  const std::size_t first = arguments->find_first_not_of(' ');
  *arguments = first == std::string::npos ? std::string() : arguments->substr(first);
}

}  // namespace stf
