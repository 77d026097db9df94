#include <gtest/gtest.h>

#include <string>

#include "options.h"

namespace stf {
namespace {

TEST(Options, ValidCommandLines) {
  using R = SetupOptions::RestartChoice;
  struct Case {
    const char* tail;
    bool quiet;
    R restart;
    const char* log;
    const char* source;
    bool help;
  } cases[] = {
      {"", false, SetupOptions::kRestartDefault, "", "", false},
      {" \t ", false, SetupOptions::kRestartDefault, "", "", false},
      {"/quiet", true, SetupOptions::kRestartDefault, "", "", false},
      {"-Q", true, SetupOptions::kRestartDefault, "", "", false},
      {"/qN /QUIET", true, SetupOptions::kRestartDefault, "", "", false},
      {"/q /norestart", true, SetupOptions::kRestartNever, "", "", false},
      {"/q\t-ForceRestart", true, SetupOptions::kRestartForce, "", "", false},
      {"/log C:\\setup.log", false, SetupOptions::kRestartDefault, "C:\\setup.log", "", false},
      {"/l \"C:\\my logs\\setup.log\"", false, SetupOptions::kRestartDefault,
       "C:\\my logs\\setup.log", "", false},
      {"/log:C:\\x.log", false, SetupOptions::kRestartDefault, "C:\\x.log", "", false},
      {"-LOG=\"a b.log\"", false, SetupOptions::kRestartDefault, "a b.log", "", false},
      {"/log \"-dash.log\"", false, SetupOptions::kRestartDefault, "-dash.log", "", false},
      {"/log C:\\\x95\x5C\\\x82\xA0.log", false, SetupOptions::kRestartDefault,
       "C:\\\x95\x5C\\\x82\xA0.log", "", false},
      {"/source \"D:\\\"  /q", true, SetupOptions::kRestartDefault, "", "D:\\", false},
      {"/source:\\\\srv\\share\\cd", false, SetupOptions::kRestartDefault, "",
       "\\\\srv\\share\\cd", false},
      {"/?", false, SetupOptions::kRestartDefault, "", "", true},
      {"/HELP /q", true, SetupOptions::kRestartDefault, "", "", true},
      {"/norestart /norestart", false, SetupOptions::kRestartNever, "", "", false},
  };
  for (const Case& c : cases) {
    SetupOptions options;
    std::string error;
    ASSERT_TRUE(ParseOptions(c.tail, &options, &error)) << c.tail << ": " << error;
    EXPECT_EQ(options.quiet, c.quiet) << c.tail;
    EXPECT_EQ(options.restart, c.restart) << c.tail;
    EXPECT_EQ(options.logPath, c.log) << c.tail;
    EXPECT_EQ(options.sourceDir, c.source) << c.tail;
    EXPECT_EQ(options.help, c.help) << c.tail;
  }
  SetupOptions options;
  std::string error;
  EXPECT_TRUE(ParseOptions(nullptr, &options, &error));
}

TEST(Options, InvalidCommandLines) {
  struct Case {
    const char* tail;
    const char* problem;  // the first line of the error
  } cases[] = {
      {"/silent", "unknown switch '/silent'"},
      {"/", "unknown switch '/'"},
      {"install", "unexpected argument 'install'"},
      {"/q extra", "unexpected argument 'extra'"},
      {"\"/quiet\"", "unexpected argument '/quiet'"},
      {"/log", "switch /log needs a file (/log <file>)"},
      {"/L /q", "switch /L needs a file (/L <file>)"},
      {"/log \"\"", "switch /log needs a file (/log <file>)"},
      {"/log:", "switch /log needs a file (/log <file>)"},
      {"-source", "switch -source needs a directory (-source <directory>)"},
      {"/log a /log b", "switch /log given more than once"},
      {"/quiet:yes", "switch /quiet takes no value"},
      {"/norestart /forcerestart", "/norestart and /forcerestart cannot be used together"},
      {"/passive /q", "/quiet and /passive cannot be used together"},
      {"/passive=1", "switch /passive takes no value"},
      {"/log \"C:\\a b", "missing closing quote in C:\\a b"},
      {"/restore", "/restore is given only with /verify"},
      {"/quiet /restore", "/restore is given only with /verify"},
      {"/verify:now", "switch /verify takes no value"},
  };
  for (const Case& c : cases) {
    SetupOptions options;
    options.quiet = true;
    std::string error;
    EXPECT_FALSE(ParseOptions(c.tail, &options, &error)) << c.tail;
    EXPECT_EQ(error.substr(0, error.find('\n')), c.problem) << c.tail;
    EXPECT_NE(error.find(UsageText()), std::string::npos) << c.tail;
    EXPECT_FALSE(options.quiet) << c.tail;  // nothing half-parsed is left behind
  }
}

// /verify checks; /restore may change only beside it, in either order.
TEST(Options, VerifyAndRestore) {
  struct Case {
    const char* tail;
    bool verify, restore, quiet;
  } cases[] = {
      {"/verify", true, false, false},
      {"/q /VERIFY", true, false, true},
      {"/restore /verify", true, true, false},
      {"-verify -restore /quiet /log v.log", true, true, true},
      {"", false, false, false},
  };
  for (const auto& c : cases) {
    SetupOptions options;
    std::string error;
    ASSERT_TRUE(ParseOptions(c.tail, &options, &error)) << c.tail << ": " << error;
    EXPECT_EQ(options.verify, c.verify) << c.tail;
    EXPECT_EQ(options.restore, c.restore) << c.tail;
    EXPECT_EQ(options.quiet, c.quiet) << c.tail;
  }
}

// /passive answers as /quiet does but keeps the windows; the restart switches go with it.
TEST(Options, PassiveIsQuietWithItsWindows) {
  struct Case {
    const char* tail;
    bool quiet, passive;
    SetupOptions::RestartChoice restart;
  } cases[] = {
      {"/passive", false, true, SetupOptions::kRestartDefault},
      {"-PASSIVE /forcerestart", false, true, SetupOptions::kRestartForce},
      {"/norestart /passive /log x.log", false, true, SetupOptions::kRestartNever},
      {"/q", true, false, SetupOptions::kRestartDefault},
  };
  for (const Case& c : cases) {
    SetupOptions options;
    std::string error;
    ASSERT_TRUE(ParseOptions(c.tail, &options, &error)) << c.tail << ": " << error;
    EXPECT_EQ(options.quiet, c.quiet) << c.tail;
    EXPECT_EQ(options.passive, c.passive) << c.tail;
    EXPECT_EQ(options.restart, c.restart) << c.tail;
  }
}

// A command line that cannot be parsed still asks for no questions when any
// word names /quiet or /passive, however it is written.
TEST(Options, QuietAskedForByABrokenCommandLine) {
  struct Case {
    const char* tail;
    bool quiet;
  } cases[] = {
      {"/quiet /bogus", true},
      {"/bogus -QN", true},
      {"\"/q\" extra", true},
      {"/log \"C:\\a b /q", true},  // inside an unclosed quote
      {"/quiet:yes", true},
      {"-q=1 /x", true},
      {"/passive /bogus", true},
      {"\"-Passive:x\" /x", true},
      {"/passives /x", false},
      {"/log C:\\quiet.log /x", false},
      {"/quieter /qq", false},
      {"quiet /x", false},
      {"/ /- -", false},
      {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(AsksForUnattended(c.tail), c.quiet) << c.tail;
  EXPECT_FALSE(AsksForUnattended(nullptr));
}

TEST(Options, UsageNamesEverySwitchAndTheOutcome) {
  const std::string usage = UsageText();
  for (const char* word : {"/quiet", "/q", "/qn", "/passive", "/norestart", "/forcerestart", "/log", "/l <file>", "/lang",
                           "/source", "/help", "/?", "/verify", "/restore", "code 0", "Outcome:", "3010", "1641",
                           "1603", "1602", "1605", "1618", "1622", "1639"}) {
    EXPECT_NE(usage.find(word), std::string::npos) << word;
  }
}

// The window lays out the same rows as a table; the console text lines up
// their meanings in one column.
TEST(Options, UsageTextLinesUpTheRowsOfTheTable) {
  const std::string usage = UsageText("UNINSTALL");
  EXPECT_EQ(usage.rfind(UsageLine("UNINSTALL") + "\n", 0), 0u);
  std::size_t column = std::string::npos;
  for (std::size_t i = 0; i < kUsageRowCount; ++i) {
    const std::size_t line = usage.find(std::string("  ") + kUsageRows[i].switches);
    ASSERT_NE(line, std::string::npos) << kUsageRows[i].switches;
    const std::size_t meaning = usage.find(kUsageRows[i].meaning, line) - line;
    if (column == std::string::npos) column = meaning;
    EXPECT_EQ(meaning, column) << kUsageRows[i].switches;
  }
  EXPECT_NE(usage.find(kUsageNotes), std::string::npos);
}

}  // namespace
}  // namespace stf
