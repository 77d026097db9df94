// The buttons of the dialog library, read from its resource script: one Alt
// letter per action in every dialog of setup and of the uninstaller, and no
// letter twice in one dialog.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

struct Button {
  std::string dialog;
  std::string label;  // as shown, without the '&'
  char letter;        // the Alt letter in capitals, 0 for none
};

std::vector<Button> ScriptButtons() {
  std::ifstream script(DIALOG_SCRIPT);
  EXPECT_TRUE(script) << DIALOG_SCRIPT;
  const std::regex dialog(R"re(^(\w+) DIALOGEX )re");
  const std::regex button(R"re(^\s*(DEF)?PUSHBUTTON "([^"]*)")re");
  std::vector<Button> buttons;
  std::string line, current;
  std::smatch match;
  while (std::getline(script, line)) {
    if (std::regex_search(line, match, dialog)) current = match[1];
    if (!std::regex_search(line, match, button)) continue;
    Button b{current, "", 0};
    const std::string text = match[2];
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '&' && i + 1 < text.size()) {
        b.letter = static_cast<char>(std::toupper(static_cast<unsigned char>(text[i + 1])));
      } else {
        b.label += text[i];
      }
    }
    buttons.push_back(b);
  }
  return buttons;
}

TEST(DialogButtons, OneAltLetterPerAction) {
  // Every label a button may have, with its letter: a new button must be
  // added here, which keeps the letters from drifting apart again.
  const std::map<std::string, char> letters = {
      {"Continue", 'C'},    {"Continue Setup", 'C'}, {"Exit", 'X'},   {"Exit Setup", 'X'},
      {"Restart Now", 'N'}, {"Restart Later", 'L'},  {"Remove", 'R'}, {"OK", 0},
      {"Cancel", 0},
  };
  const std::vector<Button> buttons = ScriptButtons();
  ASSERT_GE(buttons.size(), 15u);
  std::map<std::string, std::set<char>> perDialog;
  for (const Button& b : buttons) {
    auto known = letters.find(b.label);
    ASSERT_NE(known, letters.end())
        << b.dialog << ": a button \"" << b.label << "\" without a letter on record";
    EXPECT_EQ(b.letter, known->second) << b.dialog << ": \"" << b.label << "\"";
    if (b.letter != 0) {
      EXPECT_TRUE(perDialog[b.dialog].insert(b.letter).second)
          << b.dialog << ": Alt+" << b.letter << " twice";
    }
  }
}

}  // namespace
