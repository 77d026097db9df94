// Opening and ending the setup, and the start directory.
#include <cstring>

#include "support/registry_binding.h"
#include "support/setup_paths.h"
#include "tests/fakes/process_state.h"
#include "toolkit/setup_lifecycle.h"

using fake::CallNames;
using fake::CallsTo;

namespace {

using LifecycleTest = SetupTest;

char kCommandLine[] = "/quiet";

const std::vector<std::string> kToolkitOps = {"InitializeFrame", "FInitializeInstall",
                                              "TerminateFrame", "TerminateInstall"};

TEST_F(LifecycleTest, OpensFrameThenEngineForAnyPositiveFrameAnswer) {
  fake::Always("InitializeFrame", 7);
  EXPECT_EQ(InitializeSetup(kCommandLine), kSetupOpened);
  EXPECT_EQ(SetupOpenState, kSetupOpened);
  EXPECT_EQ(CallsTo({"InitializeFrame", "FInitializeInstall"}),
            (std::vector<std::string>{"InitializeFrame(\"/quiet\")",
                                      "FInitializeInstall(0xf01, 0xf00)"}));
}

TEST_F(LifecycleTest, HelpOnlyFrameResultEndsNothing) {
  fake::Always("InitializeFrame", -1);
  EXPECT_EQ(InitializeSetup(kCommandLine), kSetupNothingToEnd);
  EXPECT_EQ(CallsTo(kToolkitOps), (std::vector<std::string>{"InitializeFrame(\"/quiet\")"}));
  EXPECT_EQ(SetupOpenState, kSetupNotOpened);
}

TEST_F(LifecycleTest, FailedFrameEndsSetupOnceWithoutOpeningTheEngine) {
  fake::Always("InitializeFrame", 0);
  EXPECT_EQ(InitializeSetup(kCommandLine), kSetupNotOpened);
  EXPECT_EQ(CallsTo(kToolkitOps),
            (std::vector<std::string>{"InitializeFrame(\"/quiet\")", "TerminateFrame()",
                                      "TerminateInstall()"}));
}

TEST_F(LifecycleTest, FailedEngineEndsSetupAndLeavesItUnopened) {
  fake::Always("FInitializeInstall", 0);
  EXPECT_EQ(InitializeSetup(kCommandLine), kSetupNotOpened);
  EXPECT_EQ(SetupOpenState, kSetupNotOpened);
  EXPECT_EQ(fake::CountCalls("TerminateFrame"), 1);
  EXPECT_EQ(fake::CountCalls("TerminateInstall"), 1);
}

TEST_F(LifecycleTest, SecondOpeningTouchesNoToolkitFunction) {
  ASSERT_EQ(InitializeSetup(kCommandLine), kSetupOpened);
  EndSetup();
  fake::calls.clear();
  EXPECT_EQ(InitializeSetup(kCommandLine), kSetupNotOpened);
  EXPECT_EQ(OpenFrame(kCommandLine), 0);
  EXPECT_EQ(OpenInstallEngine(), 0);
  EXPECT_TRUE(fake::calls.empty());
}

TEST_F(LifecycleTest, EndSetupClosesFrameEngineAndRegistryInOrder) {
  ASSERT_EQ(BindRegistryFunctions(), 1);
  fake::calls.clear();
  EndSetup();
  EXPECT_EQ(CallNames(), (std::vector<std::string>{"TerminateFrame", "TerminateInstall",
                                                   "FreeLibrary"}));
  EXPECT_EQ(RegistryLibrary, nullptr);
}

struct StartDirCase {
  const char* name;
  std::string currentDir;
  bool fails;
  const char* expected;
};

class StartDirTest : public SetupTest, public ::testing::WithParamInterface<StartDirCase> {};

// A readable directory ends in exactly one backslash; one that cannot be read
// or does not fit stays empty, never the root of the drive ("\\").
TEST_P(StartDirTest, EndsInExactlyOneBackslashOrStaysEmpty) {
  fake::machine.currentDir = GetParam().currentDir;
  fake::machine.currentDirFails = GetParam().fails;
  ASSERT_EQ(InitializeSetup(kCommandLine), kSetupOpened);
  EXPECT_STREQ(SetupPaths.StartDir, GetParam().expected);
}

const std::string k254(254, 'x');
const std::string k255(255, 'x');

INSTANTIATE_TEST_SUITE_P(
    Directories, StartDirTest,
    ::testing::Values(StartDirCase{"DriveRoot", "D:\\", false, "D:\\"},
                      StartDirCase{"Subdirectory", "D:\\SETUP", false, "D:\\SETUP\\"},
                      StartDirCase{"AlreadyEndsInBackslash", "D:\\SETUP\\", false, "D:\\SETUP\\"},
                      StartDirCase{"Unreadable", "D:\\SETUP", true, ""},
                      StartDirCase{"Empty", "", false, ""},
                      StartDirCase{"TooLong", k255, false, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LifecycleTest, LongestStartDirGainsItsBackslashWithinTheBuffer) {
  fake::machine.currentDir = k254;
  ASSERT_EQ(InitializeSetup(kCommandLine), kSetupOpened);
  EXPECT_EQ(std::string(SetupPaths.StartDir), k254 + "\\");
}

TEST_F(LifecycleTest, StartDirEndingInADoubleByteCharacterWithTrailByte5CGainsABackslash) {
  fake::machine.leadBytes = {0x95};
  fake::machine.currentDir = "D:\\\x83\x68\x95\x5C";  // ends in a double-byte character
  ASSERT_EQ(InitializeSetup(kCommandLine), kSetupOpened);
  EXPECT_STREQ(SetupPaths.StartDir, "D:\\\x83\x68\x95\x5C\\");
}

TEST_F(LifecycleTest, StartDirIsReadUnderFailCriticalErrors) {
  fake::machine.errorMode = 0x8000;
  ASSERT_EQ(InitializeSetup(kCommandLine), kSetupOpened);
  EXPECT_EQ(CallsTo({"SetErrorMode", "GetCurrentDirectoryA"}),
            (std::vector<std::string>{"SetErrorMode(1)", "GetCurrentDirectoryA(255)",
                                      "SetErrorMode(32768)"}));
}

// The directory comes in the code page of the file functions: ANSI unless the
// process switched them to OEM.
TEST_F(LifecycleTest, StartDirIsConvertedFromOemOnlyInOemMode) {
  for (bool ansi : {true, false}) {
    fake::ResetProcessState();
    // a-umlaut is 0x84 in OEM 850 and 0xE4 in ANSI 1252, which OEM reads as another letter.
    fake::machine.oemToAnsi = {{0x84, 0xE4}, {0xE4, 0xF5}};
    fake::machine.fileApisAnsi = ansi;
    fake::machine.currentDir = ansi ? "C:\\Ger\xE4t" : "C:\\Ger\x84t";
    ASSERT_EQ(InitializeSetup(kCommandLine), kSetupOpened);
    EXPECT_STREQ(SetupPaths.StartDir, "C:\\Ger\xE4t\\") << (ansi ? "ANSI" : "OEM");
  }
}

struct FrameCallCase {
  const char* name;
  std::function<void()> call;
  const char* op;
};

class FrameDressingTest : public SetupTest, public ::testing::WithParamInterface<FrameCallCase> {};

TEST_P(FrameDressingTest, ToolkitFailureTakesTheFatalPath) {
  fake::Always(GetParam().op, 0);
  fake::Events(400, {"CONTINUE"});
  EXPECT_EQ(fake::ExitCodeOf(GetParam().call), 0);
  EXPECT_EQ(fake::CountCalls("FDoDialogExt"), 1);
}

TEST_P(FrameDressingTest, ToolkitSuccessReturns) {
  EXPECT_EQ(fake::ExitCodeOf(GetParam().call), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    Calls, FrameDressingTest,
    ::testing::Values(
        FrameCallCase{"Bitmap", [] { SetFrameBitmap("mscuistf.dll", 1); }, "FSetBitmap"},
        FrameCallCase{"About", [] { SetFrameAbout("a", "b"); }, "FSetAbout"},
        FrameCallCase{"Inf", [] { OpenInfFile("D:\\setup.inf"); }, "FOpenInf"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LifecycleTest, InfIsOpenedWithFlagsOneAndZero) {
  OpenInfFile("D:\\setup.inf");
  EXPECT_EQ(CallsTo({"FOpenInf"}), (std::vector<std::string>{"FOpenInf(\"D:\\setup.inf\", 1, 0)"}));
}

TEST_F(LifecycleTest, TitleFailureGoesUnnoticed) {
  fake::toolkit.frameWindow = nullptr;
  EXPECT_EQ(fake::ExitCodeOf([] { SetFrameTitle("Merlox IDE CD-ROM Drive Setup"); }),
            std::nullopt);
}

}  // namespace
