#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "language_choice.h"
#include "options.h"

namespace stf {
namespace {

const std::vector<Language> kOffered = {
    {0x0409, "en", "English"},
    {0x0407, "de", "German"},
    {0x0416, "pt-BR", "Portuguese (Brazil)"},
    {0x0411, "ja", "Japanese"},
};

TEST(LanguageChoice, TheSwitchThenTheSystemThenEnglish) {
  const SystemLanguage ui{0x0407, true}, nt4{0x0411, false}, unknown{0, true};
  struct Case {
    const char* requested;
    SystemLanguage system;
    const char* tag;
    LanguageReason reason;
  } cases[] = {
      {"", ui, "de", LanguageReason::kUiLanguage},
      {"", nt4, "ja", LanguageReason::kUserDefault},
      {"", {0x0C07, true}, "de", LanguageReason::kUiLanguage},    // Austria: by primary
      {"", {0x0816, true}, "pt-BR", LanguageReason::kUiLanguage}, // Portugal: by primary
      {"", {0x0419, true}, "en", LanguageReason::kFallback},      // Russian: none of ours
      {"", unknown, "en", LanguageReason::kFallback},
      {"ja", ui, "ja", LanguageReason::kSwitch},
      {"PT-br", ui, "pt-BR", LanguageReason::kSwitch},
      {"pt", ui, "pt-BR", LanguageReason::kSwitch},
      {"de-CH", nt4, "de", LanguageReason::kSwitch},
      {"de_AT", nt4, "de", LanguageReason::kSwitch},
      {"en", ui, "en", LanguageReason::kSwitch},
      {"1031", nt4, "de", LanguageReason::kSwitch},
      {"0x0411", ui, "ja", LanguageReason::kSwitch},
      {"0X809", ui, "en", LanguageReason::kSwitch},  // English (UK): by primary
  };
  for (const Case& c : cases) {
    LanguageChoice choice;
    std::string problem;
    ASSERT_TRUE(ChooseLanguage(kOffered, c.requested, c.system, &choice, &problem))
        << c.requested << ": " << problem;
    EXPECT_EQ(kOffered[choice.index].tag, c.tag) << "/lang '" << c.requested << "'";
    EXPECT_EQ(choice.reason, c.reason) << "/lang '" << c.requested << "'";
  }
}

TEST(LanguageChoice, ASwitchNamingNoLanguageOfOursIsRefusedWithTheList) {
  for (const char* requested : {"fr", "0x040C", "1036", "0x", "0x1FFFF", "12x", "-"}) {
    LanguageChoice choice;
    std::string problem;
    EXPECT_FALSE(ChooseLanguage(kOffered, requested, {0x0407, true}, &choice, &problem))
        << requested;
    EXPECT_NE(problem.find(std::string("/lang ") + requested), std::string::npos) << problem;
    EXPECT_NE(problem.find("en (English), de (German), pt-BR (Portuguese (Brazil)), ja (Japanese)"),
              std::string::npos)
        << problem;
  }
}

TEST(LanguageChoice, WithoutEnglishTheFirstLanguageIsTheFallback) {
  const std::vector<Language> one = {{0x0407, "de", "German"}};
  LanguageChoice choice;
  std::string problem;
  ASSERT_TRUE(ChooseLanguage(one, "", {0x0419, true}, &choice, &problem));
  EXPECT_EQ(choice.index, 0u);
}

TEST(LanguageChoice, TheLogSaysWhichLanguageAndWhy) {
  struct Case {
    LanguageChoice choice;
    const char* requested;
    SystemLanguage system;
    const char* line;
  } cases[] = {
      {{1, LanguageReason::kUiLanguage}, "", {0x0407, true}, "German (UI language), ANSI code page 1252"},
      {{3, LanguageReason::kSwitch}, "ja", {0x0407, true}, "Japanese (/lang ja), ANSI code page 1252"},
      {{3, LanguageReason::kUserDefault}, "", {0x0411, false},
       "Japanese (the user's default language), ANSI code page 1252"},
      {{0, LanguageReason::kFallback}, "", {0x0419, true},
       "English (no texts for the system's language 0x0419), ANSI code page 1252"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DescribeLanguageChoice(kOffered, c.choice, c.requested, c.system, 1252), c.line);
  }
}

TEST(LanguageChoice, TheSwitchTakesItsValueLikeTheOthers) {
  SetupOptions options;
  std::string error;
  ASSERT_TRUE(ParseOptions("/q /lang:pt-BR", &options, &error)) << error;
  EXPECT_EQ(options.language, "pt-BR");
  ASSERT_TRUE(ParseOptions("-LANG 0x0411", &options, &error)) << error;
  EXPECT_EQ(options.language, "0x0411");
  EXPECT_FALSE(ParseOptions("/lang", &options, &error));
  EXPECT_EQ(error.substr(0, error.find('\n')), "switch /lang needs a language (/lang <language>)");
  EXPECT_FALSE(ParseOptions("/lang de /lang ja", &options, &error));
}

}  // namespace
}  // namespace stf
