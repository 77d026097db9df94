#include <gtest/gtest.h>

#include "run_state.h"

namespace stf {
namespace {

// Every outcome as a run records it, the log's last line and the exit code a
// deployment tool reads: one table, so that the two cannot disagree.
TEST(RunOutcome, EveryOutcomeHasItsLineAndExitCode) {
  const std::string cause = "CreateServiceA mlxidecd (error 5: Access is denied.)";
  struct Case {
    RunOutcome outcome;
    const char* detail;
    const char* line;
    int code;
  } cases[] = {
      {kOutcomeSucceeded, "", "SUCCESS", 0},
      {kOutcomeRestartPending, "", "SUCCESS (restart pending)", 3010},
      {kOutcomeRestarting, "", "SUCCESS (restarting Windows)", 1641},
      {kOutcomeCancelled, "", "CANCELLED", 1602},
      {kOutcomeNotInstalled, "nothing to remove", "NOT INSTALLED (nothing to remove)", 1605},
      {kOutcomeFailed, "the driver service could not be registered",
       "FAILED (the driver service could not be registered: CreateServiceA mlxidecd (error 5: "
       "Access is denied.))",
       1603},
      // Nothing decided: the run stopped short, and the cause says where.
      {kOutcomeUndecided, "",
       "FAILED (setup ended before it completed: CreateServiceA mlxidecd (error 5: Access is "
       "denied.))",
       1603},
      // Ends before the start name their reason alone.
      {kOutcomeBadCommandLine, "bad command line: /x", "FAILED (bad command line: /x)", 1639},
      {kOutcomeAnotherSetup, "another setup is running", "FAILED (another setup is running)", 1618},
      {kOutcomeLogRefused, "the log C:\\l cannot be opened",
       "FAILED (the log C:\\l cannot be opened)", 1622},
      {kOutcomeCannotStart, "the folder", "FAILED (the folder)", 1603},
  };
  for (const Case& c : cases) {
    RunState state;
    KeepCause(&state, cause + "\r\n", FailureCause());
    DecideOutcome(&state, c.outcome, c.detail);
    EXPECT_EQ(OutcomeLineOf(state), c.line) << c.outcome;
    EXPECT_EQ(ExitCodeOf(state.outcome), c.code) << c.outcome;
    // The value that crosses between the libraries comes back as itself.
    EXPECT_EQ(OutcomeFromValue(static_cast<int>(c.outcome)), c.outcome);
  }
  EXPECT_EQ(OutcomeFromValue(-1), kOutcomeUndecided);
  EXPECT_EQ(OutcomeFromValue(kOutcomeCannotStart + 1), kOutcomeUndecided);
  EXPECT_EQ(OutcomeLine(kOutcomeFailed, "", ""), "FAILED (setup ended before it completed)");
}

// Which decision the log's last line and the exit code follow, in order.
TEST(RunOutcome, LatestDecisionCountsButSomeOutcomesStay) {
  struct Step {
    enum { kDecide, kWriteLine, kRefuseRestart } kind;
    RunOutcome outcome;
  };
  struct Case {
    const char* what;
    std::vector<Step> steps;
    int code;
  } cases[] = {
      {"a later dialog decides again",
       {{Step::kDecide, kOutcomeCancelled}, {Step::kDecide, kOutcomeFailed}}, 1603},
      {"an end before the start stays",
       {{Step::kDecide, kOutcomeAnotherSetup}, {Step::kDecide, kOutcomeSucceeded}}, 1618},
      {"a written line stays true",
       {{Step::kDecide, kOutcomeSucceeded}, {Step::kWriteLine, kOutcomeUndecided}, {Step::kDecide, kOutcomeFailed}}, 0},
      {"a refused restart leaves it pending, after the line too",
       {{Step::kDecide, kOutcomeRestarting}, {Step::kWriteLine, kOutcomeUndecided}, {Step::kRefuseRestart, kOutcomeUndecided}}, 3010},
      {"a refusal changes no other outcome",
       {{Step::kDecide, kOutcomeCancelled}, {Step::kRefuseRestart, kOutcomeUndecided}}, 1602},
  };
  for (const Case& c : cases) {
    RunState state;
    for (const Step& step : c.steps) {
      if (step.kind == Step::kDecide) DecideOutcome(&state, step.outcome, "");
      if (step.kind == Step::kWriteLine) state.lineWritten = true;
      if (step.kind == Step::kRefuseRestart) RefuseRestart(&state);
    }
    EXPECT_EQ(ExitCodeOf(state.outcome), c.code) << c.what;
  }
}

TEST(RunOutcome, SwitchesAndTitleAsTheirSymbolsHadThem) {
  RunState state;
  EXPECT_STREQ(QuietSymbolText(state), "");
  EXPECT_STREQ(RestartSymbolText(state), "");
  EXPECT_EQ(ErrorCaption(state), "Setup Error");  // before the program names its windows
  state.quiet = true;
  state.restart = SetupOptions::kRestartForce;
  state.title = "Remove Merlox IDE CD-ROM Drive";
  EXPECT_STREQ(QuietSymbolText(state), "1");
  EXPECT_STREQ(RestartSymbolText(state), "FORCE");
  EXPECT_EQ(ErrorCaption(state), "Remove Merlox IDE CD-ROM Drive Error");
  state.restart = SetupOptions::kRestartNever;
  EXPECT_STREQ(RestartSymbolText(state), "NO");
  state.quiet = false;
  state.passive = true;  // windows, but nobody answers them
  EXPECT_STREQ(QuietSymbolText(state), "1");
}

}  // namespace
}  // namespace stf
