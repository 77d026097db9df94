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

// A re-install replaces the entry: nothing of the earlier one stays, and the
// size is rounded up to whole KiB.
TEST_F(InstallUninstallerTest, AReinstallWritesTheEntryWhole) {
  fake::SetRegValue(kEntry, "DisplayVersion", REG_SZ, std::string("9.9.9.9") + '\0');
  fake::SetRegValue(kEntry, "Comments", REG_SZ, std::string("from another tool") + '\0');
  fake::Always("LcbGetSizeOfFile", 1000);  // 8 files of 1000 bytes: 7.8 KiB
  EXPECT_EQ(fake::ExitCodeOf(InstallUninstaller), std::nullopt);
  EXPECT_EQ(EntryText("DisplayVersion"), "<none>");
  EXPECT_EQ(EntryText("Comments"), "<none>");
  EXPECT_EQ(fake::FindRegValue(kEntry, "EstimatedSize")->data, std::string("\x08\0\0\0", 4));
  const fake::RegValue* folders = fake::FindRegValue(kEntry, "InstalledFolders");
  ASSERT_NE(folders, nullptr);
  EXPECT_EQ(folders->type, static_cast<DWORD>(REG_MULTI_SZ));
  EXPECT_EQ(folders->data, std::string(kProductDir) + '\0' + '\0');
  const fake::RegValue* files = fake::FindRegValue(kEntry, "InstalledFiles");
  ASSERT_NE(files, nullptr);
  EXPECT_EQ(files->data.substr(0, sizeof kDriver), std::string(kDriver) + '\0');
  EXPECT_NE(files->data.find(std::string(kProductDir) + "mscuistf.dll" + '\0' + '\0'),
            std::string::npos);
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

// The entry as setup writes it: the uninstaller's files and the product folder
// recorded, plus a driver the install added.
const char kFolder[] = "C:\\Program Files\\Merlox IDE CD-ROM Drive";
const char kAdded[] = "C:\\WINNT\\SYSTEM32\\DRIVERS\\added.sys";

std::string List(const std::vector<std::string>& items) {
  std::string bytes;
  for (const std::string& item : items) bytes += item + '\0';
  return bytes + '\0';
}

void RecordInstall(const std::string& location) {
  std::vector<std::string> files = {kDriver, kAdded};
  for (const char* name : {"uninstall.exe", "MSSHLSTF.dll", "MSCOMSTF.dll", "MSINSSTF.dll",
                           "MSUILSTF.dll", "MSDETSTF.dll", "mscuistf.dll"}) {
    files.push_back(std::string(kProductDir) + name);
  }
  fake::SetRegValue(kEntry, "InstalledFiles", REG_MULTI_SZ, List(files));
  fake::SetRegValue(kEntry, "InstalledFolders", REG_MULTI_SZ, List({kProductDir}));
  fake::SetRegValue(kEntry, "InstallLocation", REG_SZ, location + '\0');
  fake::machine.directories.insert("C:\\PROGRAM FILES\\MERLOX IDE CD-ROM DRIVE");
}

Trace LogWarnings() {
  Trace out;
  for (const std::string& line : fake::CallsTo({"FWriteToLogFile"})) {
    if (line.find("Warning") != std::string::npos || line.find("Kept") != std::string::npos) {
      out.push_back(line);
    }
  }
  return out;
}

TEST_F(UninstallTest, RemovesTheRecordedFilesThenTheFolderOnceEmpty) {
  struct Case {
    const char* name;
    const char* extraFile;  // left in the folder
    bool folderGone;
    size_t bootDeletions;
  } cases[] = {
      {"empty", nullptr, true, 0},
      {"ours in use", "uninstall.exe", false, 1},
      {"a person's file", "notes.txt", false, 0},
  };
  for (const Case& c : cases) {
    fake::ResetProcessState();
    SetUp();
    RecordInstall(kProductDir);
    if (c.extraFile) fake::AddFile(std::string(kProductDir) + c.extraFile);
    fake::Events(760, {"CONTINUE"});
    EXPECT_EQ(Run(), 0) << c.name;
    Trace removed = fake::CallsTo({"YnrcRemoveFile"});
    ASSERT_EQ(removed.size(), 9u) << c.name;
    EXPECT_EQ(removed[1], "YnrcRemoveFile(\"" + std::string(kAdded) + "\", 4)");
    EXPECT_EQ(removed[2], "YnrcRemoveFile(\"" + std::string(kProductDir) + "uninstall.exe\", 4)");
    EXPECT_EQ(fake::machine.directories.count("C:\\PROGRAM FILES\\MERLOX IDE CD-ROM DRIVE") == 0,
              c.folderGone) << c.name;
    EXPECT_EQ(fake::machine.bootDeletions.size(), c.bootDeletions) << c.name;
    EXPECT_EQ(LogWarnings().size(), c.extraFile && c.bootDeletions == 0 ? 1u : 0u) << c.name;
    EXPECT_FALSE(fake::RegKeyExists(kEntry)) << c.name;
  }
}

// A place that is not the product's own is left alone: the service and the
// driver still go, the entry too, and the log names the place.
TEST_F(UninstallTest, AnInstallLocationOutsideTheProductIsLeftAlone) {
  struct Case {
    const char* location;
    bool recorded;  // the entry holds the install's records
  } cases[] = {
      {"C:\\", false},
      {"C:", false},
      {"C:\\WINNT", false},
      {"C:\\WINNT\\SYSTEM32\\", false},
      {"C:\\Program Files", false},
      {"C:\\Program Files\\Other Product", false},
      {"C:\\Program Files\\Merlox IDE CD-ROM Drive\\", false},  // a junction
      {"C:\\WINNT", true},
      {"C:\\", true},
  };
  for (const Case& c : cases) {
    fake::ResetProcessState();
    SetUp();
    fake::machine.files["C:\\WINNT\\MSCOMSTF.DLL"] = "planted";
    fake::machine.directories = {"C:\\", "C:", "C:\\WINNT", "C:\\WINNT\\SYSTEM32",
                                 "C:\\PROGRAM FILES", "C:\\PROGRAM FILES\\OTHER PRODUCT",
                                 "C:\\PROGRAM FILES\\MERLOX IDE CD-ROM DRIVE"};
    if (c.recorded) {
      RecordInstall(c.location);
    } else {
      fake::machine.reparsePoints.insert("C:\\PROGRAM FILES\\MERLOX IDE CD-ROM DRIVE");
      fake::SetRegValue(kEntry, "InstallLocation", REG_SZ, std::string(c.location) + '\0');
    }
    fake::Events(760, {"CONTINUE"});
    EXPECT_EQ(Run(), 0) << c.location;
    EXPECT_TRUE(fake::machine.services.empty()) << c.location;
    EXPECT_FALSE(fake::RegKeyExists(kEntry)) << c.location;
    Trace removed = fake::CallsTo({"YnrcRemoveFile"});
    ASSERT_FALSE(removed.empty());
    EXPECT_EQ(removed[0], "YnrcRemoveFile(\"" + std::string(kDriver) + "\", 4)") << c.location;
    EXPECT_EQ(removed.size(), c.recorded ? 9u : 1u) << c.location;
    for (const std::string& call : fake::CallsTo({"RemoveDirectoryA", "MoveFileExA"})) {
      EXPECT_NE(call.find(kFolder), std::string::npos) << c.location << ": " << call;
      EXPECT_TRUE(c.recorded) << c.location << ": " << call;
    }
    Trace warnings = LogWarnings();
    ASSERT_EQ(warnings.size(), 1u) << c.location;
    EXPECT_NE(warnings[0].find(c.location), std::string::npos) << warnings[0];
    EXPECT_EQ(fake::machine.files.count("C:\\WINNT\\MSCOMSTF.DLL"), 1u);
  }
}

// An entry from before the records: its folder is InstallLocation, when it has one.
TEST_F(UninstallTest, AnEntryWithoutRecordsTakesItsFolderFromInstallLocation) {
  for (const char* location : {"", kProductDir}) {
    fake::ResetProcessState();
    SetUp();
    fake::machine.directories.insert("C:\\PROGRAM FILES\\MERLOX IDE CD-ROM DRIVE");
    fake::SetRegValue(kEntry, "InstallLocation", REG_SZ, std::string(location) + '\0');
    fake::Events(760, {"CONTINUE"});
    EXPECT_EQ(Run(), 0) << location;
    const bool named = location[0] != '\0';
    EXPECT_EQ(fake::CallsTo({"YnrcRemoveFile"}).size(), named ? 8u : 1u) << location;
    EXPECT_EQ(fake::CountCalls("RemoveDirectoryA"), named ? 1 : 0) << location;
    EXPECT_TRUE(LogWarnings().empty()) << location;
  }
}

}  // namespace
