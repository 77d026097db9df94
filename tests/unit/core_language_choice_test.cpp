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
  const LanguageMatch exact = LanguageMatch::kExact, primary = LanguageMatch::kPrimary;
  struct Case {
    const char* requested;
    SystemLanguage system;
    const char* tag;
    LanguageReason reason;
    LanguageMatch match;
  } cases[] = {
      {"", ui, "de", LanguageReason::kUiLanguage, exact},
      {"", nt4, "ja", LanguageReason::kUserDefault, exact},
      {"", {0x0C07, true}, "de", LanguageReason::kUiLanguage, primary},    // Austria
      {"", {0x0816, true}, "pt-BR", LanguageReason::kUiLanguage, primary}, // Portugal
      {"", {0x0419, true}, "en", LanguageReason::kFallback, exact},        // Russian: none of ours
      {"", unknown, "en", LanguageReason::kFallback, exact},
      {"ja", ui, "ja", LanguageReason::kSwitch, exact},
      {"PT-br", ui, "pt-BR", LanguageReason::kSwitch, exact},
      {"pt", ui, "pt-BR", LanguageReason::kSwitch, primary},
      {"de-CH", nt4, "de", LanguageReason::kSwitch, primary},
      {"de_AT", nt4, "de", LanguageReason::kSwitch, primary},
      {"en", ui, "en", LanguageReason::kSwitch, exact},
      {"1031", nt4, "de", LanguageReason::kSwitch, exact},
      {"0x0411", ui, "ja", LanguageReason::kSwitch, exact},
      {"0X809", ui, "en", LanguageReason::kSwitch, primary},  // English (UK)
  };
  for (const Case& c : cases) {
    LanguageChoice choice;
    std::string problem;
    ASSERT_TRUE(ChooseLanguage(kOffered, c.requested, c.system, &choice, &problem))
        << c.requested << ": " << problem;
    EXPECT_EQ(kOffered[choice.index].tag, c.tag) << "/lang '" << c.requested << "'";
    EXPECT_EQ(choice.reason, c.reason) << "/lang '" << c.requested << "'";
    EXPECT_EQ(choice.match, c.match) << "/lang '" << c.requested << "'";
  }
}

// Both Chinese scripts offered: each id and tag reaches its own, whatever
// the order of the offer (the resources list 0x0404 before 0x0804).
TEST(LanguageChoice, EachChineseReachesItsOwnScript) {
  const Language traditional{0x0404, "zh-TW", "Chinese (Traditional)"};
  const Language simplified{0x0804, "zh-CN", "Chinese (Simplified)"};
  struct Case {
    const char* requested;
    unsigned system;
    const char* tag;
  } cases[] = {
      {"", 0x0404, "zh-TW"}, {"", 0x0C04, "zh-TW"}, {"", 0x1404, "zh-TW"}, {"", 0x7C04, "zh-TW"},
      {"", 0x0804, "zh-CN"}, {"", 0x1004, "zh-CN"}, {"", 0x0004, "zh-CN"},
      {"zh-TW", 0x0409, "zh-TW"}, {"zh-Hant", 0x0409, "zh-TW"}, {"zh-HK", 0x0409, "zh-TW"},
      {"ZH_mo", 0x0409, "zh-TW"}, {"zh-Hant-TW", 0x0804, "zh-TW"}, {"0x0C04", 0x0409, "zh-TW"},
      {"zh-CN", 0x0404, "zh-CN"}, {"zh-Hans", 0x0409, "zh-CN"}, {"zh-SG", 0x0409, "zh-CN"},
      {"zh", 0x0404, "zh-CN"},    {"4100", 0x0409, "zh-CN"},
  };
  for (const auto& offered : {std::vector<Language>{kOffered[0], traditional, simplified},
                              std::vector<Language>{kOffered[0], simplified, traditional}}) {
    for (const Case& c : cases) {
      LanguageChoice choice;
      std::string problem;
      const SystemLanguage system{static_cast<unsigned short>(c.system), true};
      ASSERT_TRUE(ChooseLanguage(offered, c.requested, system, &choice, &problem)) << problem;
      EXPECT_EQ(offered[choice.index].tag, c.tag) << "'" << c.requested << "' on " << c.system;
    }
  }
}

// With one script of a language only, the other's readers get English: the
// primary-language rule never crosses scripts.
TEST(LanguageChoice, ALanguageInAScriptWeLackFallsToEnglish) {
  const Language simplified{0x0804, "zh-CN", "Chinese (Simplified)"};
  const Language traditional{0x0404, "zh-TW", "Chinese (Traditional)"};
  const Language serbianLatin{0x081A, "sr-Latn", "Serbian (Latin)"};
  struct Case {
    Language offered;
    unsigned system;
  } cases[] = {
      {simplified, 0x0404}, {simplified, 0x0C04}, {simplified, 0x1404},
      {traditional, 0x0804}, {traditional, 0x1004}, {serbianLatin, 0x0C1A},
  };
  for (const Case& c : cases) {
    const std::vector<Language> offered = {kOffered[0], c.offered};
    LanguageChoice choice;
    std::string problem;
    ASSERT_TRUE(ChooseLanguage(offered, "", {static_cast<unsigned short>(c.system), true}, &choice,
                               &problem));
    EXPECT_EQ(offered[choice.index].tag, "en") << c.offered.tag << " for " << c.system;
    EXPECT_EQ(choice.reason, LanguageReason::kOtherScript) << c.offered.tag << " for " << c.system;
  }
  const std::vector<Language> offered = {kOffered[0], simplified};
  for (const char* requested : {"zh-TW", "zh-Hant", "zh-HK", "0x0404"}) {
    LanguageChoice choice;
    std::string problem;
    EXPECT_FALSE(ChooseLanguage(offered, requested, {0x0409, true}, &choice, &problem))
        << requested;
    EXPECT_NE(problem.find("names no language of this program in its script"), std::string::npos)
        << problem;
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

TEST(LanguageChoice, TheLogSaysWhichLanguageAndWhichRuleChoseIt) {
  const std::vector<Language> offered = {kOffered[0], kOffered[1],
                                         {0x0404, "zh-TW", "Chinese (Traditional)"}};
  using R = LanguageReason;
  using M = LanguageMatch;
  struct Case {
    LanguageChoice choice;
    const char* requested;
    SystemLanguage system;
    const char* line;
  } cases[] = {
      {{1, R::kUiLanguage, M::kExact}, "", {0x0407, true},
       "German (UI language 0x0407), ANSI code page 1252"},
      {{1, R::kUiLanguage, M::kPrimary}, "", {0x0C07, true},
       "German (UI language 0x0C07, by primary language), ANSI code page 1252"},
      {{2, R::kUiLanguage, M::kPrimaryAndScript}, "", {0x0C04, true},
       "Chinese (Traditional) (UI language 0x0C04, by primary language and script), ANSI code page 1252"},
      {{1, R::kSwitch, M::kExact}, "de", {0x0407, true}, "German (/lang de), ANSI code page 1252"},
      {{1, R::kSwitch, M::kPrimary}, "de-AT", {0x0407, true},
       "German (/lang de-AT, by primary language), ANSI code page 1252"},
      {{1, R::kUserDefault, M::kExact}, "", {0x0407, false},
       "German (the user's default language 0x0407), ANSI code page 1252"},
      {{0, R::kFallback, M::kExact}, "", {0x0419, true},
       "English (no texts for the system's language 0x0419), ANSI code page 1252"},
      {{0, R::kOtherScript, M::kExact}, "", {0x0804, true},
       "English (no texts in Simplified Chinese for the system's language 0x0804), ANSI code page 1252"},
      {{0, R::kNoWindow, M::kExact}, "", {0x0407, true},
       "English (a quiet run shows no window; UI language 0x0407), ANSI code page 1252"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DescribeLanguageChoice(offered, c.choice, c.requested, c.system, 1252), c.line);
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

// A command line that cannot be used still names its language, so that the
// window which says what is wrong speaks it.
TEST(LanguageChoice, TheLanguageIsReadFromACommandLineThatCannotBeParsed) {
  struct Case {
    const char* tail;
    const char* language;
  } cases[] = {
      {"/lang de /bogus", "de"},      {"/bogus /lang:de", "de"},   {"/log /LANG=pt-BR", "pt-BR"},
      {"-lang ja stray word", "ja"},  {"/lang he /lang de", "he"}, {"/lang de \"open", "de"},
      {"/lang", ""},                  {"/lang /q", ""},            {"/lang: /q", ""},
      {"/log \"a b /lang de", ""},    {"lang de", ""},             {"/language de", ""},
      {nullptr, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AsksForLanguage(c.tail), c.language) << (c.tail ? c.tail : "(null)");
  }
}

}  // namespace
}  // namespace stf
