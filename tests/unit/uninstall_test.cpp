// The uninstall entry and the uninstaller's files, placed by setup after a
// registration and taken away by the uninstaller: both or neither.
#include <functional>

#include "installer/installer.h"
#include "platform/process_exit.h"
#include "support/registry_binding.h"
#include "support/setup_paths.h"
#include "tests/fakes/fake_registry.h"
#include "tests/fakes/process_state.h"
#include "uninstaller/uninstaller.h"

namespace {

using Trace = std::vector<std::string>;

const char kEntry[] =
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Merlox IDE "
    "CD-ROM Drive";
const char kProductDir[] = "C:\\Program Files\\Merlox IDE CD-ROM Drive\\";
const char kDriver[] = "C:\\WINNT\\SYSTEM32\\DRIVERS\\mlxidecd.SYS";

std::string EntryText(const char* name) {
  const fake::RegValue* value = fake::FindRegValue(kEntry, name);
  return value == nullptr ? std::string("<none>") : value->data.substr(0, value->data.size() - 1);
}

class InstallUninstallerTest : public SetupTest {
 protected:
  void SetUp() override {
    SetupTest::SetUp();
    lstrcpyA(SetupPaths.SystemDir, "C:\\WINNT\\SYSTEM32\\");
    fake::machine.modulePath = "E:\\DISK\\SETUP.EXE";
    ASSERT_EQ(BindRegistryFunctions(), 1);
    fake::Events(400, {"CONTINUE"});
  }
};

TEST_F(InstallUninstallerTest, CopiesTheUninstallerAndWritesTheEntry) {
  fake::QueueText("CbGetVersionOfFile", "1.2.0.7");
  fake::Always("LcbGetSizeOfFile", 2048);
  EXPECT_EQ(fake::ExitCodeOf(InstallUninstaller), std::nullopt);
  Trace copies = fake::CallsTo({"FCopyOneFile"});
  ASSERT_EQ(copies.size(), 7u);
  EXPECT_EQ(copies[0], "FCopyOneFile(\"E:\\DISK\\uninstall.exe\", \"" + std::string(kProductDir) +
                           "uninstall.exe\", 2, 0)");
  EXPECT_EQ(EntryText("DisplayName"), "Merlox IDE CD-ROM Drive");
  EXPECT_EQ(EntryText("DisplayVersion"), "1.2.0.7");  // the installed driver's
  EXPECT_EQ(EntryText("InstallDate"), "20261209");
  EXPECT_EQ(EntryText("UninstallString"), "\"" + std::string(kProductDir) + "uninstall.exe\"");
  EXPECT_EQ(EntryText("QuietUninstallString"),
            "\"" + std::string(kProductDir) + "uninstall.exe\" /quiet");
  const fake::RegValue* size = fake::FindRegValue(kEntry, "EstimatedSize");
  ASSERT_NE(size, nullptr);
  EXPECT_EQ(size->type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(size->data, std::string("\x10\0\0\0", 4));  // 8 files of 2 KiB
  EXPECT_EQ(fake::CallsTo({"CbGetVersionOfFile"}),
            Trace{"CbGetVersionOfFile(\"" + std::string(kDriver) + "\", 64)"});
}

TEST_F(InstallUninstallerTest, ADriverWithoutAVersionGetsNoDisplayVersion) {
  EXPECT_EQ(fake::ExitCodeOf(InstallUninstaller), std::nullopt);
  EXPECT_EQ(EntryText("DisplayName"), "Merlox IDE CD-ROM Drive");
  EXPECT_EQ(EntryText("DisplayVersion"), "<none>");
}

// A failure after the copy puts everything back; an earlier install keeps its
// uninstaller and its service as they were.
TEST_F(InstallUninstallerTest, AFailureAfterTheCopyUndoesTheInstall) {
  struct Case {
    const char* name;
    std::function<void()> arrange;
    size_t removed;  // uninstaller files taken back
    int folders;     // folders taken back
    bool entryAfter;
  } cases[] = {
      {"third copy", [] { fake::Queue("FCopyOneFile", {1, 1, 0}); }, 2, 1, false},
      {"entry", [] { fake::registry.failingCalls["RegSetValueExA"] = ERROR_ACCESS_DENIED; }, 7,
       1, false},
      {"re-install, third copy",
       [] {
         fake::Queue("FCopyOneFile", {1, 1, 0});
         fake::AddRegKey(kEntry);
         fake::machine.directories.insert("C:\\PROGRAM FILES\\MERLOX IDE CD-ROM DRIVE\\");
         fake::machine.services["mlxidecd"] = fake::Service{};
         fake::machine.services["mlxidecd"].start = SERVICE_DEMAND_START;
         fake::machine.services["mlxidecd"].imagePath = "\\SystemRoot\\SYSTEM32\\DRIVERS\\mlxidecd.SYS";
       },
       0, 0, true},
  };
  for (const Case& c : cases) {
    fake::ResetProcessState();
    SetUp();
    fake::AddFile(kDriver);
    c.arrange();
    const bool serviceBefore = fake::machine.services.count("mlxidecd") != 0;
    EXPECT_EQ(fake::ExitCodeOf(CopyAndRegisterDriver), 0) << c.name;
    EXPECT_EQ(fake::CallsTo({"YnrcRemoveFile"}).size(), c.removed) << c.name;
    EXPECT_EQ(fake::CountCalls("FRemoveDir"), c.folders) << c.name;
    EXPECT_EQ(fake::RegKeyExists(kEntry), c.entryAfter) << c.name;
    EXPECT_EQ(fake::machine.services.count("mlxidecd") != 0, serviceBefore) << c.name;
    if (serviceBefore) {
      EXPECT_EQ(fake::machine.services.at("mlxidecd").start, DWORD{SERVICE_DEMAND_START}) << c.name;
    }
    EXPECT_EQ(fake::CallsTo({"FUndoCopyList", "FCommitCopyList"}), Trace{"FUndoCopyList()"})
        << c.name;
    EXPECT_EQ(fake::CountCalls("FDoDialogExt"), 1) << c.name;  // the fatal dialog
  }
}

// The uninstaller, from an installed driver: entry, service and file.
class UninstallTest : public SetupTest {
 protected:
  void SetUp() override {
    SetupTest::SetUp();
    fake::machine.systemDir = "C:\\WINNT\\SYSTEM32";
    fake::AddRegKey(kEntry);
    fake::machine.services["mlxidecd"] = fake::Service{};
    fake::Events(150, {"CONTINUE"});
  }
  static std::optional<int> Run() {
    char tail[] = "";
    return fake::ExitCodeOf([&] { ExitProgram(UninstallMain(tail)); });
  }
  static Trace Dialogs() {
    Trace ids;
    for (const fake::Call& call : fake::calls) {
      if (call.name == "FDoDialogExt") ids.push_back(call.args[2]);
    }
    return ids;
  }
};

TEST_F(UninstallTest, RemovesServiceFileAndEntryWithoutARestartWhenStopped) {
  fake::Events(760, {"CONTINUE"});
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(Dialogs(), (Trace{"150", "760"}));
  EXPECT_TRUE(fake::machine.services.empty());
  EXPECT_EQ(fake::CallsTo({"YnrcRemoveFile"}),
            Trace{"YnrcRemoveFile(\"" + std::string(kDriver) + "\", 4)"});
  EXPECT_FALSE(fake::RegKeyExists(kEntry));
  EXPECT_TRUE(fake::machine.shutdownRequests.empty());
}

TEST_F(UninstallTest, ALoadedDriverLeavesARestartToAskFor) {
  fake::machine.services["mlxidecd"].state = SERVICE_RUNNING;
  fake::machine.services["mlxidecd"].stoppable = false;
  fake::Events(750, {"RESTART"});
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(Dialogs(), (Trace{"150", "750"}));
  EXPECT_TRUE(fake::machine.services.at("mlxidecd").markedForDelete);
  EXPECT_FALSE(fake::RegKeyExists(kEntry));
  EXPECT_EQ(fake::machine.shutdownRequests.size(), 1u);
}

TEST_F(UninstallTest, CancelRemovesNothing) {
  fake::toolkit.events[150] = {"CANCEL"};
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(Dialogs(), Trace{"150"});
  EXPECT_EQ(fake::machine.services.size(), 1u);
  EXPECT_EQ(fake::CountCalls("YnrcRemoveFile"), 0);
  EXPECT_TRUE(fake::RegKeyExists(kEntry));
}

// Nothing installed: no entry, and no service or one already deleted.
TEST_F(UninstallTest, NothingToRemoveSaysSo) {
  for (bool markedService : {false, true}) {
    fake::ResetProcessState();
    fake::machine.systemDir = "C:\\WINNT\\SYSTEM32";
    if (markedService) {
      fake::machine.services["mlxidecd"].state = SERVICE_RUNNING;
      fake::machine.services["mlxidecd"].markedForDelete = true;
    }
    fake::Events(950, {"CONTINUE"});
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Dialogs(), Trace{"950"}) << markedService;
    EXPECT_EQ(fake::CountCalls("DeleteService"), 0) << markedService;
    EXPECT_EQ(fake::CountCalls("YnrcRemoveFile"), 0) << markedService;
  }
}

}  // namespace
