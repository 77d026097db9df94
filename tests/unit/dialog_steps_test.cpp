// The event tables of the install's dialogs.
#include "installer/installer.h"
#include "tests/fakes/process_state.h"

namespace {

using DialogStepsTest = SetupTest;

std::vector<std::string> DialogTrace() {
  std::vector<std::string> out;
  for (const fake::Call& call : fake::calls) {
    if (call.name == "FDoDialogExt") out.push_back("show " + call.args[2] + " " + call.args[3]);
    if (call.name == "FKillNDialogs") out.push_back("kill " + call.args[0]);
    if (call.name == "TerminateFrame") out.push_back("end");
  }
  return out;
}

using Trace = std::vector<std::string>;

TEST_F(DialogStepsTest, WelcomeGoesOnWithContinue) {
  fake::Events(100, {"CONTINUE"});
  EXPECT_EQ(fake::ExitCodeOf(ShowWelcome), std::nullopt);
  EXPECT_EQ(DialogTrace(), (Trace{"kill -1", "show 100 \"FInfoDlgProc\"", "kill 1"}));
}

TEST_F(DialogStepsTest, WelcomeCancelThenResumeShowsWelcomeAgainOnAnEmptiedStack) {
  fake::Events(100, {"CANCEL", "CONTINUE"});
  fake::Events(200, {"CONTINUE"});
  EXPECT_EQ(fake::ExitCodeOf(ShowWelcome), std::nullopt);
  EXPECT_EQ(DialogTrace(), (Trace{"kill -1", "show 100 \"FInfoDlgProc\"", "show 200 \"FQuitDlgProc\"",
                                  "kill 1", "kill -1", "show 100 \"FInfoDlgProc\"", "kill 1"}));
  EXPECT_TRUE(fake::toolkit.dialogStack.empty());
}

TEST_F(DialogStepsTest, WelcomeRepeatsOnUnrecognisedAndRestartEvents) {
  fake::Events(100, {"RESTART", "??", "", "CONTINUE"});
  EXPECT_EQ(fake::ExitCodeOf(ShowWelcome), std::nullopt);
  EXPECT_EQ(fake::CountCalls("FDoDialogExt"), 4);
  EXPECT_EQ(fake::CountCalls("FKillNDialogs"), 5);
}

TEST_F(DialogStepsTest, ExitFromWelcomeAsksForConfirmationAndQuits) {
  fake::Events(100, {"EXIT"});
  fake::Events(200, {"EXIT"});
  EXPECT_EQ(fake::ExitCodeOf(ShowWelcome), 0);
  EXPECT_EQ(DialogTrace(), (Trace{"kill -1", "show 100 \"FInfoDlgProc\"", "show 200 \"FQuitDlgProc\"",
                                  "kill -1", "end"}));
  EXPECT_EQ(fake::CountCalls("FDoDialogExt"), 2);  // no error dialog for a quit
}

TEST_F(DialogStepsTest, QuitConfirmationRepeatsAtOnceOnUnrecognisedEvents) {
  fake::Events(200, {"RESTART", "XX", "CANCEL"});
  EXPECT_EQ(fake::ExitCodeOf(ConfirmQuit), std::nullopt);
  EXPECT_EQ(DialogTrace(), (Trace{"show 200 \"FQuitDlgProc\"", "show 200 \"FQuitDlgProc\"",
                                  "show 200 \"FQuitDlgProc\"", "kill 1"}));
}

TEST_F(DialogStepsTest, NoWindowsDirContinuesOnCancelAndGoOn) {
  for (const char* word : {"CANCEL", "CONTINUE"}) {
    fake::ResetProcessState();
    fake::Events(6400, {word});
    EXPECT_EQ(fake::ExitCodeOf(ReportNoWindowsDir), std::nullopt) << word;
    EXPECT_EQ(DialogTrace(), (Trace{"kill -1", "show 6400 \"FInfo0DlgProc\"", "kill 1"})) << word;
  }
}

TEST_F(DialogStepsTest, NoWindowsDirExitAsksAndDeclinedQuitShowsItAgain) {
  fake::Events(6400, {"EXIT", "RESTART", "CONTINUE"});
  fake::Events(200, {"CANCEL"});
  EXPECT_EQ(fake::ExitCodeOf(ReportNoWindowsDir), std::nullopt);
  EXPECT_EQ(DialogTrace(),
            (Trace{"kill -1", "show 6400 \"FInfo0DlgProc\"", "show 200 \"FQuitDlgProc\"", "kill 1",
                   "kill -1", "show 6400 \"FInfo0DlgProc\"", "kill -1",
                   "show 6400 \"FInfo0DlgProc\"", "kill 1"}));
}

TEST_F(DialogStepsTest, RestartQuestionIsAskedOnceAndOnlyRestartRestarts) {
  const std::pair<const char*, RestartChoice> cases[] = {
      {"RESTART", RestartChoice::kRestart},   {"REx", RestartChoice::kRestart},
      {"CONTINUE", RestartChoice::kDeclined}, {"CANCEL", RestartChoice::kDeclined},
      {"EXIT", RestartChoice::kDeclined},     {"?", RestartChoice::kDeclined}};
  for (const auto& c : cases) {
    fake::ResetProcessState();
    fake::Events(700, {c.first});
    RestartChoice choice = RestartChoice::kNotNeeded;
    EXPECT_EQ(fake::ExitCodeOf([&] { choice = AskRestart(); }), std::nullopt);
    EXPECT_TRUE(choice == c.second) << c.first;
    EXPECT_EQ(DialogTrace(), (Trace{"show 700 \"FInfoDlgProc\"", "kill 1"})) << c.first;
  }
}

TEST_F(DialogStepsTest, RegistrationFailureEndsWhateverTheEvent) {
  for (const char* word : {"CONTINUE", "CANCEL", "EXIT", "RESTART", "?"}) {
    fake::ResetProcessState();
    fake::Events(900, {word});
    EXPECT_EQ(fake::ExitCodeOf(ReportRegistrationFailure), 0) << word;
    EXPECT_EQ(DialogTrace(), (Trace{"show 900 \"FInfoDlgProc\"", "kill -1", "end"})) << word;
  }
}

TEST_F(DialogStepsTest, TooLongEventWordTakesTheFatalPath) {
  fake::Events(100, {"CONTINUE_CONTINUE"});
  fake::Events(400, {"CONTINUE"});
  EXPECT_EQ(fake::ExitCodeOf(ShowWelcome), 0);
  EXPECT_EQ(fake::CountCalls("DoMsgBox"), 1);
}

}  // namespace
