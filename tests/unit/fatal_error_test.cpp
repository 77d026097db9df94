// The one fatal path: error dialog 400 at most once, then the setup ends and
// the process exits with 0, however often it is re-entered.
#include <functional>

#include "tests/fakes/process_state.h"
#include "toolkit/dialogs.h"
#include "toolkit/setup_lifecycle.h"

namespace {

using FatalErrorTest = SetupTest;

const std::vector<std::string> kDialogOps = {"FDoDialogExt", "FKillNDialogs", "TerminateFrame",
                                             "TerminateInstall"};

TEST_F(FatalErrorTest, ShowsDialog400ThenEndsSetupAndExitsWithZero) {
  fake::Events(400, {"CONTINUE"});
  EXPECT_EQ(fake::ExitCodeOf([] { FatalSetupError(); }), 0);
  EXPECT_EQ(fake::CallsTo(kDialogOps),
            (std::vector<std::string>{
                "FKillNDialogs(-1)",
                "FDoDialogExt(0xf00, \"mscuistf.dll\", 400, \"FInfo0DlgProc\", \"mscuistf.dll\", 0, 0)",
                "FKillNDialogs(1)", "TerminateFrame()", "TerminateInstall()"}));
  EXPECT_EQ(FatalErrorShown, 1);
}

TEST_F(FatalErrorTest, OtherEventsShowTheDialogAgainWithoutRemovingIt) {
  fake::Events(400, {"EXIT", "RESTART", "X", "CANCEL"});
  EXPECT_EQ(fake::ExitCodeOf([] { FatalSetupError(); }), 0);
  EXPECT_EQ(fake::CountCalls("FDoDialogExt"), 4);
  EXPECT_EQ(fake::CallsTo({"FKillNDialogs"}),
            (std::vector<std::string>{"FKillNDialogs(-1)", "FKillNDialogs(1)"}));
}

TEST_F(FatalErrorTest, SecondEntryEndsAtOnceWithoutADialog) {
  fake::Events(400, {"CONTINUE"});
  ASSERT_EQ(fake::ExitCodeOf([] { FatalSetupError(); }), 0);
  fake::calls.clear();
  EXPECT_EQ(fake::ExitCodeOf([] { FatalSetupError(); }), 0);
  EXPECT_EQ(fake::CallNames(), (std::vector<std::string>{"TerminateFrame", "TerminateInstall"}));
}

// Failures met while the error dialog is up re-enter the fatal path.
struct ReentryCase {
  const char* name;
  std::function<void()> arrange;
};

class FatalReentryTest : public SetupTest, public ::testing::WithParamInterface<ReentryCase> {};

TEST_P(FatalReentryTest, DialogIsShownAtMostOnce) {
  GetParam().arrange();
  EXPECT_EQ(fake::ExitCodeOf([] { FatalSetupError(); }), 0);
  EXPECT_LE(fake::CountCalls("FDoDialogExt"), 1);
  EXPECT_EQ(fake::CountCalls("TerminateFrame"), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, FatalReentryTest,
    ::testing::Values(
        ReentryCase{"DialogCannotBeShown", [] { fake::Always("FDoDialogExt", 0); }},
        ReentryCase{"DialogsCannotBeClosed", [] { fake::Always("FKillNDialogs", 0); }},
        ReentryCase{"QuitMessageInThePump",
                    [] {
                      fake::Events(400, {"CONTINUE"});
                      fake::toolkit.onDialog = [](unsigned) { fake::PostMessage(WM_QUIT); };
                    }},
        ReentryCase{"EventWordTooLong",
                    [] { fake::Events(400, {"CONTINUEXXXXXXX"}); }}),
    [](const auto& info) { return std::string(info.param.name); });

// A failure that a box names has that one window: the undo and the end of
// the setup follow it, the error dialog does not.
TEST_F(FatalErrorTest, ABoxIsTheFailuresOneWindow) {
  static int undone;
  const struct {
    std::function<void()> fail;
    int boxes;  // a refusal has shown its own before
  } cases[] = {
      {[] { FailWithBufferOverflow(); }, 1},
      {[] { FailWithMessage("Setup cannot find its own folder."); }, 1},
      {[] { FailWithTooLong("the Windows directory", "C:\\WINNT", 3); }, 1},
      {[] { EndAfterRefusal(); }, 0},
  };
  for (const auto& c : cases) {
    fake::ResetProcessState();
    undone = 0;
    SetFailureUndo([](void* count) { ++*static_cast<int*>(count); }, &undone);
    EXPECT_EQ(fake::ExitCodeOf(c.fail), 0);
    EXPECT_EQ(fake::CountCalls("DoMsgBox") + fake::CountCalls("StfLanguageBox"), c.boxes);
    EXPECT_EQ(fake::CountCalls("FDoDialogExt"), 0);
    EXPECT_EQ(fake::CountCalls("TerminateFrame"), 1);
    EXPECT_EQ(undone, 1);
  }
}

// The run-time's failures (an allocation, a container past its limit) take
// the fatal path with their cause, not an abort.
TEST_F(FatalErrorTest, AnInternalFailureTakesTheFatalPath) {
  fake::Events(400, {"CONTINUE"});
  ASSERT_NE(fake::internalFailureHandler, nullptr);
  EXPECT_EQ(fake::ExitCodeOf([] { fake::internalFailureHandler("out of memory", 8); }), 0);
  EXPECT_EQ(fake::CountCalls("FDoDialogExt"), 1);
  const std::vector<std::string> lines = fake::CallsTo({"FWriteToLogFile"});
  ASSERT_FALSE(lines.empty());
  EXPECT_NE(lines[0].find("Error: Setup cannot go on: out of memory (error 8"), std::string::npos)
      << lines[0];
}

}  // namespace
