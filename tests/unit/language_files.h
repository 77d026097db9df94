// The language files as the tests read them: each text id's number and name
// from the headers, and a language's strings by name, escapes undone.
#pragma once

#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>

namespace language_files {

inline std::string Source(const std::string& path) {
  std::ifstream file(std::string(SOURCE_DIR) + "/" + path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// Every header that defines text ids, by name: "IDS_FAIL_READ" -> 1100.
inline std::map<std::string, unsigned> Ids() {
  const std::string text = Source("platform/dialogs/text_ids.h") +
                           Source("platform/setup-toolkit/language_resources.h") +
                           Source("platform/setup-toolkit/core/failure_text_ids.h") +
                           Source("platform/dialogs/box_text_ids.h");
  const std::regex define(R"re(#define (IDS_\w+) (\d+))re");
  std::map<std::string, unsigned> ids;
  for (std::sregex_iterator it(text.begin(), text.end(), define), end; it != end; ++it) {
    ids[(*it)[1]] = static_cast<unsigned>(std::stoul((*it)[2]));
  }
  return ids;
}

// The strings of languages/<tag>.rc by id number, as the resource compiler
// makes them (\n, \\ and "" undone).
inline std::map<unsigned, std::string> Strings(const std::string& tag) {
  const std::map<std::string, unsigned> ids = Ids();
  std::istringstream rc(Source("platform/dialogs/languages/" + tag + ".rc"));
  const std::regex entry(R"re(^\s*(IDS_\w+)\s+"((?:[^"\\]|\\.|"")*)")re");
  std::map<unsigned, std::string> strings;
  std::string line;
  std::smatch match;
  while (std::getline(rc, line)) {
    if (!std::regex_search(line, match, entry) || !ids.count(match[1])) continue;
    const std::string raw = match[2];
    std::string text;
    for (std::size_t i = 0; i < raw.size(); ++i) {
      if (raw[i] == '\\' && i + 1 < raw.size()) {
        text += raw[i + 1] == 'n' ? '\n' : raw[i + 1];
        ++i;
      } else if (raw[i] == '"') {
        text += '"';
        ++i;
      } else {
        text += raw[i];
      }
    }
    strings[ids.at(match[1])] = text;
  }
  return strings;
}

// A form with %1 to %3 filled, as the programs fill it.
inline std::string Fill(const std::string& form, const std::string inserts[3]) {
  std::string text;
  for (std::size_t i = 0; i < form.size(); ++i) {
    if (form[i] == '%' && i + 1 < form.size() && form[i + 1] >= '1' && form[i + 1] <= '3') {
      text += inserts[form[i + 1] - '1'];
      ++i;
    } else {
      text += form[i];
    }
  }
  return text;
}

}  // namespace language_files
