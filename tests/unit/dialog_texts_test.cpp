// The texts of the dialog library, read from its sources: which text each
// control shows (dialog_texts.h) and each language's file (languages/*.rc).
// Every language has every text and names itself; in every language each
// dialog's buttons have Alt letters of their own; English keeps one letter per
// action across setup and the uninstaller.
#include <gtest/gtest.h>

#include <cctype>
#include <dirent.h>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "failure_words.h"
#include "tests/unit/language_files.h"

namespace {

const std::string kDir = std::string(SOURCE_DIR) + "/platform/dialogs/";

struct Use {
  std::string dialog, control, text;  // names, as the table writes them
};

std::vector<Use> TextTable() {
  std::ifstream table(kDir + "dialog_texts.h");
  EXPECT_TRUE(table) << kDir << "dialog_texts.h";
  const std::regex entry(R"re(^DIALOG_TEXT\((\w+), (\w+), (\w+)\))re");
  std::vector<Use> uses;
  std::string line;
  std::smatch match;
  while (std::getline(table, line)) {
    if (std::regex_search(line, match, entry)) uses.push_back({match[1], match[2], match[3]});
  }
  return uses;
}

std::set<std::string> TextNames() {
  std::set<std::string> names;
  for (const auto& [name, id] : language_files::Ids()) names.insert(name);
  return names;
}

// The marks %1 to %3 a text fills, as a set of digits.
std::string Marks(const std::string& text) {
  std::set<char> marks;
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] == '%' && text[i + 1] >= '1' && text[i + 1] <= '3') marks.insert(text[i + 1]);
  }
  return std::string(marks.begin(), marks.end());
}

// Each language's strings by name (backslash escapes as the file has them).
std::map<std::string, std::map<std::string, std::string>> Languages() {
  std::map<std::string, std::map<std::string, std::string>> languages;
  DIR* dir = opendir((kDir + "languages").c_str());
  EXPECT_NE(dir, nullptr);
  const std::regex string(R"re(^\s*(IDS_\w+)\s+"((?:[^"\\]|\\.)*)")re");
  for (dirent* file = dir ? readdir(dir) : nullptr; file != nullptr; file = readdir(dir)) {
    const std::string name = file->d_name;
    if (name.size() < 4 || name.substr(name.size() - 3) != ".rc") continue;
    std::ifstream rc(kDir + "languages/" + name);
    std::string line;
    std::smatch match;
    auto& strings = languages[name];
    while (std::getline(rc, line)) {
      if (std::regex_search(line, match, string)) strings[match[1]] = match[2];
    }
  }
  if (dir) closedir(dir);
  return languages;
}

// The Alt letter of a label in capitals, 0 for none ("&&" is a plain '&').
std::string AltLetter(const std::string& label) {
  for (std::size_t i = 0; i + 1 < label.size(); ++i) {
    if (label[i] != '&') continue;
    if (label[i + 1] == '&') { ++i; continue; }
    // A letter may be a UTF-8 sequence (Ä): compare the bytes.
    std::size_t n = 1;
    while (i + 1 + n < label.size() && (label[i + 1 + n] & 0xC0) == 0x80) ++n;
    std::string letter = label.substr(i + 1, n);
    if (n == 1) letter[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(letter[0])));
    return letter;
  }
  return "";
}

TEST(DialogTexts, EveryLanguageHasEveryTextAndNamesItself) {
  const std::set<std::string> names = TextNames();
  const auto languages = Languages();
  ASSERT_GE(languages.size(), 2u);
  ASSERT_GE(names.size(), 40u);
  for (const auto& [file, strings] : languages) {
    for (const std::string& name : names) {
      auto found = strings.find(name);
      EXPECT_TRUE(found != strings.end() && !found->second.empty()) << file << " lacks " << name;
    }
    for (const auto& [name, text] : strings) EXPECT_TRUE(names.count(name)) << file << ": " << name;
    EXPECT_EQ(file, strings.at("IDS_LANGUAGE_TAG") + ".rc") << "a language's file is named by its tag";
    const std::string rtl = strings.at("IDS_LANGUAGE_RIGHT_TO_LEFT");
    EXPECT_TRUE(rtl == "0" || rtl == "1") << file;
    EXPECT_NE(strings.count("IDS_LOG_PATH") ? strings.at("IDS_LOG_PATH").find("%s") : std::string::npos,
              std::string::npos) << file << ": the log's sentence must hold %s for the path";
  }
}

// A translation that drops a mark loses the file name or the system's
// words; one that adds a mark shows nothing in its place.
TEST(DialogTexts, EveryLanguageFillsTheMarksEnglishFills) {
  const auto languages = Languages();
  const auto& english = languages.at("en.rc");
  for (const auto& [file, strings] : languages) {
    for (const auto& [name, text] : strings) {
      if (english.count(name)) {
        EXPECT_EQ(Marks(text), Marks(english.at(name))) << file << ": " << name;
      }
    }
  }
}

// The log's English and en.rc's are one text: the core words a failure in
// English from the same sentence ids that the dialogs look up.
TEST(DialogTexts, TheFailuresEnglishIsEnRcs) {
  const auto english = language_files::Strings("en");
  int checked = 0;
  for (const auto& [name, id] : language_files::Ids()) {
    const char* form = stf::FailureEnglishForm(id);
    if (name.rfind("IDS_FAIL_", 0) != 0 && name.rfind("IDS_ADVICE_", 0) != 0) {
      EXPECT_EQ(form, nullptr) << name;
      continue;
    }
    ASSERT_NE(form, nullptr) << name << " has no English in the core";
    ASSERT_TRUE(english.count(id)) << name;
    EXPECT_EQ(english.at(id), form) << name;
    ++checked;
  }
  EXPECT_GE(checked, 30);
}

TEST(DialogTexts, EachDialogsButtonsHaveLettersOfTheirOwnInEveryLanguage) {
  const std::vector<Use> uses = TextTable();
  ASSERT_GE(uses.size(), 40u);
  for (const auto& [file, strings] : Languages()) {
    std::map<std::string, std::set<std::string>> perDialog;
    for (const Use& use : uses) {
      if (use.text.rfind("IDS_BUTTON_", 0) != 0 || !strings.count(use.text)) continue;
      const std::string letter = AltLetter(strings.at(use.text));
      if (letter.empty()) continue;
      EXPECT_TRUE(perDialog[use.dialog].insert(letter).second)
          << file << ": " << use.dialog << " has Alt+" << letter << " twice";
    }
  }
}

// A button's words as a text names it: without its Alt mark, "&Yes" or "はい(&Y)".
std::string Label(std::string label) {
  const std::size_t mark = label.find("(&");
  if (mark != std::string::npos && label.size() == mark + 4 && label.back() == ')') {
    label.erase(mark);
  }
  const std::size_t amp = label.find('&');
  if (amp != std::string::npos) label.erase(amp, 1);
  return label;
}

// A text that tells which button to choose names it in the words the button
// shows, in every language: the toolkit's boxes carry the language's words,
// not Windows' own.
TEST(DialogTexts, EveryTextNamesItsButtonsInTheirOwnWords) {
  const std::map<std::string, std::vector<std::string>> named = {
      {"IDS_STF_COPY_RETRY", {"IDS_STF_BOX_RETRY", "IDS_STF_BOX_CANCEL"}},
      {"IDS_STF_KEEP_NEWER", {"IDS_STF_BOX_YES"}},
      {"IDS_STF_KEEP_VERSIONED", {"IDS_STF_BOX_YES"}},
      {"IDS_WELCOME_3", {"IDS_BUTTON_CONTINUE", "IDS_BUTTON_EXIT"}},
      {"IDS_QUIT_2", {"IDS_BUTTON_EXIT_SETUP", "IDS_BUTTON_CONTINUE_SETUP"}},
      {"IDS_RESTART_2", {"IDS_BUTTON_RESTART_NOW", "IDS_BUTTON_RESTART_LATER"}},
      {"IDS_NO_WINDOWS_DIR_2", {"IDS_BUTTON_CONTINUE", "IDS_BUTTON_EXIT"}},
      {"IDS_REMOVE_CONFIRM_2", {"IDS_BUTTON_REMOVE", "IDS_BUTTON_CANCEL"}},
  };
  const auto ids = language_files::Ids();
  for (const auto& [file, unused] : Languages()) {
    const auto strings = language_files::Strings(file.substr(0, file.size() - 3));
    for (const auto& [text, buttons] : named) {
      for (const std::string& button : buttons) {
        const std::string words = Label(strings.at(ids.at(button)));
        EXPECT_NE(strings.at(ids.at(text)).find(words), std::string::npos)
            << file << ": " << text << " does not name " << button << " \"" << words << "\"";
      }
    }
  }
}

TEST(DialogTexts, EnglishHasOneAltLetterPerAction) {
  // A new button must be added here, which keeps the letters from drifting apart again.
  const std::map<std::string, std::string> letters = {
      {"IDS_BUTTON_CONTINUE", "C"},      {"IDS_BUTTON_CONTINUE_SETUP", "C"},
      {"IDS_BUTTON_EXIT", "X"},          {"IDS_BUTTON_EXIT_SETUP", "X"},
      {"IDS_BUTTON_RESTART_NOW", "N"},   {"IDS_BUTTON_RESTART_LATER", "L"},
      {"IDS_BUTTON_REMOVE", "R"},        {"IDS_BUTTON_OK", ""},
      {"IDS_BUTTON_CANCEL", ""},
  };
  const auto english = Languages().at("en.rc");
  for (const auto& [name, text] : english) {
    if (name.rfind("IDS_BUTTON_", 0) != 0) continue;
    ASSERT_TRUE(letters.count(name)) << name << " without a letter on record";
    EXPECT_EQ(AltLetter(text), letters.at(name)) << name << " \"" << text << "\"";
  }
}

}  // namespace
