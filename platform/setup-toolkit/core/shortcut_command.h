// The command of a program item (a Start menu shortcut) taken apart into the
// program it starts and the arguments it passes.
#pragma once

#include <string>

namespace stf {

// "prog.exe args", "\"C:\\Program Files\\x.exe\" args", or a path with blanks
// that names an existing file (exists says which do): the target and its
// arguments, without the blanks between them.
void SplitShortcutCommand(const std::string& command, bool (*exists)(const std::string& path),
                          std::string* target, std::string* arguments);

}  // namespace stf
