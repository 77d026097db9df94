#include <gtest/gtest.h>

#include "run_outcome.h"

namespace stf {
namespace {

// What the dialog library says, the log's outcome line, and what a
// deployment tool reads from the exit code: one table, so that the log's last
// line and the exit code cannot disagree.
TEST(RunOutcome, OutcomeLinesAndExitCodes) {
  struct Case {
    const char* given;
    const char* line;
    int code;
  } cases[] = {
      {"SUCCESS", "SUCCESS", 0},
      {"SUCCESS, restart pending", "SUCCESS (restart pending)", 3010},
      {"SUCCESS (restart pending)", "SUCCESS (restart pending)", 3010},
      {"SUCCESS, restarting Windows", "SUCCESS (restarting Windows)", 1641},
      {"success (Restarting windows)", "SUCCESS (restarting Windows)", 1641},
      {"CANCELLED", "CANCELLED", 1602},
      {"NOT INSTALLED (nothing to remove)", "NOT INSTALLED (nothing to remove)", 1605},
      {"FAILED (a setup error ended the installation)",
       "FAILED (a setup error ended the installation)", 1603},
      {"FAILED", "FAILED (setup ended before it completed)", 1603},
      {"", "FAILED (setup ended before it completed)", 1603},
      {"something else", "FAILED (something else)", 1603},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CanonicalOutcome(c.given), c.line) << c.given;
    EXPECT_EQ(ExitCodeOfOutcome(c.given), c.code) << c.given;
    EXPECT_EQ(ExitCodeOfOutcome(c.line), c.code) << c.line;  // the line reads back the same
  }
}

TEST(RunOutcome, FailureNamesTheKnownCause) {
  EXPECT_EQ(OutcomeWithCause("FAILED (the driver service could not be registered)",
                             "CreateServiceA mlxidecd (error 5: Access is denied.)"),
            "FAILED (the driver service could not be registered: CreateServiceA mlxidecd "
            "(error 5: Access is denied.))");
  EXPECT_EQ(OutcomeWithCause("", "Cannot initialize registry!"),
            "FAILED (setup ended before it completed: Cannot initialize registry!)");
  // A cause left from a failure that was got over does not touch a success.
  EXPECT_EQ(OutcomeWithCause("SUCCESS, restart pending", "CopyFileA (error 32)"),
            "SUCCESS (restart pending)");
  EXPECT_EQ(OutcomeWithCause("FAILED (x)", "  "), "FAILED (x)");
}

TEST(RunOutcome, RefusedRestartLeavesTheRestartPending) {
  EXPECT_EQ(OutcomeAfterRefusedRestart("SUCCESS (restarting Windows)"), "SUCCESS (restart pending)");
  EXPECT_EQ(ExitCodeOfOutcome(OutcomeAfterRefusedRestart("SUCCESS, restarting Windows")), 3010);
  EXPECT_EQ(OutcomeAfterRefusedRestart("FAILED (x)"), "FAILED (x)");
}

}  // namespace
}  // namespace stf
