// The copy step: what it hands the toolkit, in which order, and which answers end it.
#include <cstring>

#include "installer/installer.h"
#include "support/registry_binding.h"
#include "support/setup_paths.h"
#include "tests/fakes/process_state.h"
#include "toolkit/dialogs.h"

namespace {

using Trace = std::vector<std::string>;

class DriverCopyTest : public SetupTest {
 protected:
  void SetUp() override {
    SetupTest::SetUp();
    std::strcpy(SetupPaths.SystemDir, "C:\\WINNT\\SYSTEM32\\");
    std::strcpy(SetupPaths.SourceDir, "D:\\");
    BindRegistryFunctions();  // the uninstall entry is written through it
  }
};

// The list is emptied, then filled from the disk into the drivers directory,
// with the library's billboard dialog over the copy, all under the wait cursor.
TEST_F(DriverCopyTest, ListIsEmptiedThenFilledUnderTheWaitCursor) {
  PrepareFileCopy();
  Trace names;
  for (const std::string& call : fake::CallsTo({"HShowWaitCursor", "ResetCopyList",
                                                "FAddSectionFilesToCopyList",
                                                "FAddToBillboardList", "FRestoreCursor"})) {
    names.push_back(call.substr(0, call.find('(')));
  }
  EXPECT_EQ(names, (Trace{"HShowWaitCursor", "ResetCopyList", "FAddSectionFilesToCopyList",
                          "FAddToBillboardList", "FRestoreCursor"}));
  EXPECT_EQ(fake::CallsTo({"FAddSectionFilesToCopyList"}),
            (Trace{"FAddSectionFilesToCopyList(\"System Files\", \"D:\\\", "
                   "\"C:\\WINNT\\SYSTEM32\\DRIVERS\\\")"}));
  const std::string billboard = fake::CallsTo({"FAddToBillboardList"}).at(0);
  EXPECT_NE(billboard.find("\"" DIALOG_LIBRARY "\", " + std::to_string(DLG_BILLBOARD) +
                           ", \"" BILLBOARD_DIALOG_PROC "\""),
            std::string::npos)
      << billboard;
  EXPECT_EQ(fake::CountCalls("ProSetPos"), 1);
}

TEST_F(DriverCopyTest, OnlyTheQueueAndTheBillboardAreGuarded) {
  struct Case {
    const char* op;
    bool fatal;
  } cases[] = {{"ResetCopyList", false},
               {"ProSetPos", false},
               {"FAddSectionFilesToCopyList", true},
               {"FAddToBillboardList", true}};
  for (const Case& c : cases) {
    fake::ResetProcessState();
    fake::Always(c.op, 0);
    fake::Events(400, {"CONTINUE"});
    EXPECT_EQ(fake::ExitCodeOf(PrepareFileCopy).has_value(), c.fatal) << c.op;
    EXPECT_EQ(fake::CountCalls("FDoDialogExt"), c.fatal ? 1 : 0) << c.op;
  }
}

TEST_F(DriverCopyTest, BillboardStaysUpUntilTheServiceIsRegistered) {
  fake::AddFile("C:\\WINNT\\SYSTEM32\\DRIVERS\\mlxidecd.SYS");
  CopyAndRegisterDriver();
  Trace names;
  for (const std::string& call :
       fake::CallsTo({"HinstFrame", "GrcCopyFilesInCopyList", "OpenSCManagerA", "HShowWaitCursor",
                      "CreateServiceA", "ChangeServiceConfigA", "CloseServiceHandle",
                      "FRestoreCursor", "FKillNDialogs"})) {
    names.push_back(call.substr(0, call.find('(')));
  }
  EXPECT_EQ(names, (Trace{"HinstFrame", "GrcCopyFilesInCopyList", "OpenSCManagerA",
                          "HShowWaitCursor", "CreateServiceA", "ChangeServiceConfigA",
                          "CloseServiceHandle", "CloseServiceHandle", "FRestoreCursor",
                          "FKillNDialogs"}));
  EXPECT_TRUE(fake::toolkit.dialogStack.empty());
}

}  // namespace
