// Lists of directories as Windows keeps them in text: a search path (the PATH
// variable, ';'-separated, entries possibly quoted) and the PATH line of an
// AUTOEXEC.BAT-style file. ';' lies below every trail byte of a double-byte
// code page, so splitting at it is safe for double-byte text.
#pragma once

#include <string>
#include <vector>

namespace stf {

// The directories of a search path, in order: quotes around an entry removed,
// empty entries left out.
std::vector<std::string> SplitSearchPath(const std::string& value);

// The file's text with dir put at the front of its PATH line: the first line
// of the form "PATH=...", "PATH ..." or "SET PATH=..." (any case, leading
// blanks allowed). Any other entry naming dir (without regard to ASCII case or
// a trailing backslash) goes; a text without such a line gains "PATH=<dir>" at
// its end. Line ends are kept as they are.
std::string PrependToPathLine(const std::string& text, const std::string& dir);

}  // namespace stf
