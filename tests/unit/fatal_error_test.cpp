// The one fatal path: error dialog 400 at most once, then the setup ends and
// the process exits with 0, however often it is re-entered.
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

TEST_F(FatalErrorTest, OverflowBoxPrecedesTheFatalPath) {
  fake::Events(400, {"CONTINUE"});
  EXPECT_EQ(fake::ExitCodeOf([] { FailWithBufferOverflow(); }), 0);
  std::vector<std::string> names = fake::CallNames();
  ASSERT_FALSE(names.empty());
  EXPECT_EQ(fake::calls[0].Text(), "DoMsgBox(\"Buffer Overflow\", \"MS-Setup Error\", 16)");
  EXPECT_EQ(fake::CountCalls("FDoDialogExt"), 1);
}

}  // namespace
