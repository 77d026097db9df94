// The copy step as the machine sees it: where the driver lands, what is on
// screen meanwhile, and which failures end the setup.
#include <algorithm>
#include <cstring>

#include "installer/installer.h"
#include "support/registry_binding.h"
#include "support/setup_paths.h"
#include "tests/fakes/process_state.h"
#include "toolkit/dialogs.h"
#include "toolkit/setup_lifecycle.h"

namespace {

using Trace = std::vector<std::string>;

class DriverCopyTest : public SetupTest {
 protected:
  void SetUp() override {
    SetupTest::SetUp();
    std::strcpy(SetupPaths.SourceDir, "D:\\");
    BindRegistryFunctions();  // the uninstall entry is written through it
  }
  // Where in the transcript a call first appears.
  static size_t At(const std::string& name) {
    Trace names = fake::CallNames();
    return std::find(names.begin(), names.end(), name) - names.begin();
  }
};

// The files of "System Files" go from the disk into SYSTEM32\DRIVERS\ and the
// service names the driver there, under the library's billboard from the copy
// to the registration; the user's cursor comes back.
TEST_F(DriverCopyTest, DriverLandsInTheDriversDirectoryUnderTheBillboard) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\WINNT\\SYSTEM32\\", "C:\\WINNT\\SYSTEM32\\DRIVERS\\MLXIDECD.SYS"},
      {"C:\\SYSTEM32\\", "C:\\SYSTEM32\\DRIVERS\\MLXIDECD.SYS"}};
  for (const auto& c : cases) {
    SetUp();
    std::strcpy(SetupPaths.SystemDir, c.first);
    fake::toolkit.queuedDestinations = {"X:\\LEFT\\OVER\\"};  // an earlier list's
    InstallRun run;
    run.plan = PlanInstall();
    PrepareFileCopy();
    CopyAndRegisterDriver(&run);
    EXPECT_EQ(fake::toolkit.queuedDestinations, Trace{std::string(c.first) + "DRIVERS\\"});
    const fake::Call& queued = fake::calls.at(At("FAddSectionFilesToCopyList"));
    EXPECT_EQ(Trace(queued.args.begin(), queued.args.begin() + 2),
              (Trace{"\"System Files\"", "\"D:\\\""}));
    EXPECT_EQ(fake::machine.files.count(c.second), 1u) << c.second;
    EXPECT_EQ(fake::machine.services.at("mlxidecd").imagePath,
              "\\SystemRoot\\SYSTEM32\\DRIVERS\\mlxidecd.SYS");
    EXPECT_EQ(fake::CountCalls("OpenSCManagerA"), 1);  // one connection serves every step
    run.services.Close();
    EXPECT_EQ(fake::machine.openServiceHandles, 0);
    const fake::Call& billboard = fake::calls.at(At("FAddToBillboardList"));
    EXPECT_EQ(Trace(billboard.args.begin(), billboard.args.begin() + 3),
              (Trace{"\"" DIALOG_LIBRARY "\"", std::to_string(DLG_BILLBOARD),
                     "\"" BILLBOARD_DIALOG_PROC "\""}));
    EXPECT_LT(At("FAddToBillboardList"), At("GrcCopyFilesInCopyList"));
    EXPECT_LT(At("ChangeServiceConfigA"), At("FKillNDialogs"));
    EXPECT_TRUE(fake::toolkit.dialogStack.empty());
    EXPECT_LT(At("HShowWaitCursor"), At("FAddToBillboardList"));
    EXPECT_EQ(fake::CallsTo({"FRestoreCursor"}),
              Trace(fake::CountCalls("HShowWaitCursor"), "FRestoreCursor(0xc0)"));
  }
}

// Without the queue or the billboard there is no copy to make: the fatal path.
// An old list that cannot be emptied, or a gauge that cannot be placed, is not.
TEST_F(DriverCopyTest, ACopyThatCannotBeSetUpEndsTheSetup) {
  const std::pair<const char*, bool> cases[] = {{"FAddSectionFilesToCopyList", true},
      {"FAddToBillboardList", true}, {"ResetCopyList", false}, {"ProSetPos", false}};
  for (const auto& c : cases) {
    fake::ResetProcessState();
    std::strcpy(SetupPaths.SystemDir, "C:\\WINNT\\SYSTEM32\\");
    fake::Always(c.first, 0);
    fake::Events(400, {"CONTINUE"});
    EXPECT_EQ(fake::ExitCodeOf([] {
                PlanInstall();
                PrepareFileCopy();
              }),
              c.second ? std::optional<int>(0) : std::nullopt)
        << c.first;
    EXPECT_EQ(FatalErrorShown, c.second ? 1 : 0) << c.first;
  }
}

}  // namespace
