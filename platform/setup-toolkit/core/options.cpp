#include "options.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "ansi_text.h"

namespace stf {
namespace {

struct Argument {
  std::string text;  // quotes removed
  bool switchLike;   // starts with an unquoted '/' or '-'
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool Split(const char* tail, std::vector<Argument>* out, std::string* problem) {
  const char* p = tail != nullptr ? tail : "";
  while (true) {
    while (IsBlank(*p)) ++p;
    if (*p == '\0') return true;
    Argument argument{std::string(), *p == '/' || *p == '-'};
    bool inQuote = false;
    for (; *p != '\0' && (inQuote || !IsBlank(*p)); ++p) {
      if (*p == '"') {
        inQuote = !inQuote;
      } else {
        argument.text += *p;
      }
    }
    if (inQuote) {
      *problem = "missing closing quote in " + argument.text;
      return false;
    }
    out->push_back(std::move(argument));
  }
}

enum class Switch { kQuiet, kPassive, kNoRestart, kForceRestart, kLog, kSource, kLanguage, kHelp };

struct SwitchName {
  const char* name;
  Switch which;
};

const SwitchName kSwitches[] = {
    {kSwitchQuiet, Switch::kQuiet},  {kSwitchQ, Switch::kQuiet},  {kSwitchQn, Switch::kQuiet},
    {kSwitchPassive, Switch::kPassive},
    {"norestart", Switch::kNoRestart}, {"forcerestart", Switch::kForceRestart},
    {"log", Switch::kLog},      {"l", Switch::kLog},           {"source", Switch::kSource},
    {"lang", Switch::kLanguage},
    {"help", Switch::kHelp},    {"?", Switch::kHelp},
};

bool Lookup(const std::string& name, Switch* which) {
  for (const SwitchName& known : kSwitches) {
    if (EqualsNoCase(name, known.name)) {
      *which = known.which;
      return true;
    }
  }
  return false;
}

bool Parse(const std::vector<Argument>& arguments, SetupOptions* out, std::string* problem) {
  bool restartGiven[2] = {false, false};
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const Argument& argument = arguments[i];
    if (!argument.switchLike) {
      *problem = "unexpected argument '" + argument.text + "'";
      return false;
    }
    const std::size_t split = argument.text.find_first_of(":=", 1);
    const std::string written = argument.text.substr(0, split);  // "/log" as the user wrote it
    const bool attached = split != std::string::npos;
    Switch which;
    if (!Lookup(written.substr(1), &which)) {
      *problem = "unknown switch '" + written + "'";
      return false;
    }
    const bool takesValue =
        which == Switch::kLog || which == Switch::kSource || which == Switch::kLanguage;
    if (!takesValue) {
      if (attached) {
        *problem = "switch " + written + " takes no value";
        return false;
      }
      if (which == Switch::kQuiet) out->quiet = true;
      if (which == Switch::kPassive) out->passive = true;
      if (which == Switch::kHelp) out->help = true;
      if (which == Switch::kNoRestart) restartGiven[0] = true;
      if (which == Switch::kForceRestart) restartGiven[1] = true;
      continue;
    }
    std::string value;
    if (attached) {
      value = argument.text.substr(split + 1);
    } else if (i + 1 < arguments.size() && !arguments[i + 1].switchLike) {
      value = arguments[++i].text;
    }
    const char* what = which == Switch::kLog      ? "file"
                       : which == Switch::kSource ? "directory"
                                                  : "language";
    if (value.empty()) {
      *problem = "switch " + written + " needs a " + what + " (" + written + " <" + what + ">)";
      return false;
    }
    std::string& target = which == Switch::kLog      ? out->logPath
                          : which == Switch::kSource ? out->sourceDir
                                                     : out->language;
    if (!target.empty()) {
      *problem = "switch " + written + " given more than once";
      return false;
    }
    target = value;
  }
  if (restartGiven[0] && restartGiven[1]) {
    *problem = "/norestart and /forcerestart cannot be used together";
    return false;
  }
  if (out->quiet && out->passive) {
    *problem = "/quiet and /passive cannot be used together";
    return false;
  }
  if (restartGiven[0]) out->restart = SetupOptions::kRestartNever;
  if (restartGiven[1]) out->restart = SetupOptions::kRestartForce;
  return true;
}

}  // namespace

bool ParseOptions(const char* tail, SetupOptions* out, std::string* error,
                  const std::string& program) {
  *out = SetupOptions();
  std::vector<Argument> arguments;
  std::string problem;
  SetupOptions parsed;
  if (!Split(tail, &arguments, &problem) || !Parse(arguments, &parsed, &problem)) {
    *error = problem + "\n\n" + UsageText(program);
    return false;
  }
  *out = std::move(parsed);
  return true;
}

std::string AsksForLanguage(const char* tail) {
  std::vector<Argument> arguments;
  std::string unused;
  Split(tail, &arguments, &unused);  // what was read before a fault still counts
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& text = arguments[i].text;
    const std::size_t split = text.find_first_of(":=", 1);
    Switch which;
    if (!arguments[i].switchLike || !Lookup(text.substr(1, split - 1), &which) ||
        which != Switch::kLanguage) {
      continue;
    }
    if (split != std::string::npos) {
      if (split + 1 < text.size()) return text.substr(split + 1);
    } else if (i + 1 < arguments.size() && !arguments[i + 1].switchLike) {
      return arguments[i + 1].text;
    }
  }
  return "";
}

const UsageRow kUsageRows[] = {
    {"/quiet, /q, /qn", "No windows: every dialog takes its default answer."},
    {"/passive", "Show the progress only: every dialog takes its default answer, nothing waits, "
                 "and the run ends as a quiet one does."},
    {"/norestart", "After a quiet run, do not restart Windows (the default)."},
    {"/forcerestart", "After a quiet run, restart Windows when it is needed."},
    {"/log <file>, /l <file>", "Add a record of the run to the end of <file>."},
    {"/source <dir>", "Take the files from <dir> instead of the program's own folder."},
    {"/lang <language>", "Show the windows in this language: a tag such as de or pt-BR, or a "
                         "language ID such as 1031 or 0x0407."},
    {"/help, /?", "Show this text and do nothing else."},
};
const std::size_t kUsageRowCount = sizeof kUsageRows / sizeof kUsageRows[0];

const char kUsageNotes[] =
    "Switches may start with / or - and are not case-sensitive. A value may also be\n"
    "attached as /log:<file> or /log=<file>; quote a value that holds blanks.\n"
    "A run with windows ends with exit code 0. A quiet run ends with 0 (done), 3010\n"
    "(done, restart needed), 1641 (done, restarting), 1603 (failed), 1602 (cancelled),\n"
    "1605 (nothing to remove), 1618 (another setup is running), 1622 (the log\n"
    "cannot be opened) or 1639 (bad command line, or this help).\n"
    "The last line of the log states the outcome: Outcome: SUCCESS, FAILED (reason),\n"
    "CANCELLED or NOT INSTALLED.\n";

std::string UsageSyntax(const std::string& program) {
  return program + " [/quiet | /passive] [/norestart | /forcerestart] [/log <file>] [/source <dir>] "
                   "[/lang <language>]";
}

std::string UsageLine(const std::string& program) { return "Usage: " + UsageSyntax(program); }

// For a console's fixed-width font: the meanings line up after the widest switches.
std::string UsageText(const std::string& program) {
  std::size_t width = 0;
  for (const UsageRow& row : kUsageRows) width = std::max(width, std::string(row.switches).size());
  std::string text = UsageLine(program) + "\n\n";
  for (const UsageRow& row : kUsageRows) {
    const std::string switches = row.switches;
    text += "  " + switches + std::string(width + 3 - switches.size(), ' ') + row.meaning + "\n";
  }
  return text + "\n" + kUsageNotes;
}

}  // namespace stf
