// The setup program's command line: the tail after the program name.
//
// Switches start with '/' or '-' and are not case-sensitive. Arguments are
// separated by blanks or tabs; double quotes group text with blanks and are
// removed (a backslash is plain text, so "D:\" is D:\). A value follows its
// switch as the next argument, or attached as /log:file or /log=file. The
// next argument is not taken as a value when it starts with an unquoted '/'
// or '-': quote such a value.
#pragma once

#include "unattended_switch.h"

#include <string>

namespace stf {

struct SetupOptions {
  enum RestartChoice { kRestartDefault, kRestartNever, kRestartForce };

  bool quiet = false;                       // /quiet /q /qn: every dialog takes its default
  bool passive = false;                     // /passive: the same, with the progress shown
  RestartChoice restart = kRestartDefault;  // /norestart, /forcerestart
  std::string logPath;                      // /log /l
  std::string sourceDir;                    // /source
  std::string language;                     // /lang: a tag (de, pt-BR) or a LANGID
  bool help = false;                        // /help /?
};

// False on anything else: an unknown switch, a bare word, a missing or
// unwanted value, a switch taking a value given twice, /norestart with
// /forcerestart, /quiet with /passive, an unclosed quote. *error's first line then says what was
// wrong and the rest is UsageText(). A null tail is an empty one.
bool ParseOptions(const char* tail, SetupOptions* out, std::string* error,
                  const std::string& program = "SETUP");

// Does a command line that cannot be parsed ask that nobody be asked? A run
// that asked for no questions must not wait on a window for its own errors:
// AsksForUnattended (unattended_switch.h), the rule the start-up shares.

// The /lang value of a command line that cannot be parsed, so that the
// window saying what is wrong speaks the language asked for: the first /lang
// with a value, attached or next, among the words before anything unreadable
// (an unclosed quote). Empty when there is none.
std::string AsksForLanguage(const char* tail);

// The switches, for /help and for errors; program names the program in its first line.
std::string UsageText(const std::string& program = "SETUP");

// The same in parts, for a window that lays the switches out as a table: the
// line that names the program, one row per switch, and the notes after them.
struct UsageRow {
  const char* switches;  // "/log <file>, /l <file>"
  const char* meaning;
};
std::string UsageLine(const std::string& program = "SETUP");
// The line without its "Usage: ", which the window words in its language.
std::string UsageSyntax(const std::string& program);
extern const UsageRow kUsageRows[];
extern const std::size_t kUsageRowCount;
extern const char kUsageNotes[];

}  // namespace stf
