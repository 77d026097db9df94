// The uninstall entry and the uninstaller's files, placed by setup after a
// registration and taken away by the uninstaller: both or neither, each file
// by its recorded size and SHA-256, the entry last.
#include <algorithm>
#include <cstring>
#include <functional>

#include "installer/installer.h"
#include "platform/process_exit.h"
#include "platform/setup-toolkit/core/copy_job.h"
#include "platform/setup-toolkit/core/sha256.h"
#include "support/path_join.h"
#include "support/registry_binding.h"
#include "support/setup_paths.h"
#include "tests/fakes/fake_registry.h"
#include "tests/fakes/process_state.h"
#include "toolkit/setup_lifecycle.h"
#include "uninstaller/uninstaller.h"

namespace {

using Trace = std::vector<std::string>;

const char kEntry[] =
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Merlox IDE "
    "CD-ROM Drive";
const char kSource[] =
    "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\Merlox IDE "
    "CD-ROM Drive";
const char kProductDir[] = "C:\\Program Files\\Merlox IDE CD-ROM Drive\\";
// The drivers directory as the file system spells it.
const char kDrivers[] = "C:\\WINNT\\SYSTEM32\\drivers\\";
const char kDriver[] = "C:\\WINNT\\SYSTEM32\\drivers\\mlxidecd.SYS";
const char* const kOwnFiles[] = {"uninstall.exe", "MSSHLSTF.dll", "MSCOMSTF.dll", "MSINSSTF.dll",
                                 "MSUILSTF.dll", "MSDETSTF.dll", "mscuistf.dll"};

std::string EntryText(const char* name) {
  const fake::RegValue* value = fake::FindRegValue(kEntry, name);
  return value == nullptr ? std::string("<none>") : value->data.substr(0, value->data.size() - 1);
}

std::string List(const std::vector<std::string>& items) {
  std::string bytes;
  for (const std::string& item : items) bytes += item + '\0';
  return bytes + '\0';
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

bool Present(const std::string& path) { return fake::machine.files.count(Upper(path)) != 0; }

// The record of a file as setup writes it, from the bytes it holds now.
std::string Item(const std::string& path) {
  const std::string& bytes = fake::machine.files.at(Upper(path));
  return stf::Sha256TextOf(bytes.data(), bytes.size()) + " " + std::to_string(bytes.size()) + " " +
         path;
}

std::vector<std::string> Items(const char* name) {
  const fake::RegValue* value = fake::FindRegValue(kEntry, name);
  std::vector<std::string> items;
  if (value == nullptr) return items;
  for (std::size_t at = 0; at < value->data.size() && value->data[at] != '\0';) {
    const std::size_t end = value->data.find('\0', at);
    items.push_back(value->data.substr(at, end - at));
    at = end + 1;
  }
  return items;
}

class InstallUninstallerTest : public SetupTest {
 protected:
  void SetUp() override {
    SetupTest::SetUp();
    lstrcpyA(SetupPaths.SystemDir, "C:\\WINNT\\SYSTEM32\\");
    fake::machine.modulePath = "E:\\DISK\\SETUP.EXE";
    fake::AddUninstallerFiles("E:\\DISK\\");
    fake::AddFile(kDriver, std::string(3000, 'd'));
    ASSERT_EQ(BindRegistryFunctions(), 1);
    fake::Events(400, {"CONTINUE"});
    run.plan = PlanInstall();
  }
  InstallRun run;
};

TEST_F(InstallUninstallerTest, RecordsEveryPlacedFileWithItsSizeAndDigest) {
  fake::QueueText("CbGetVersionOfFile", "1.2.0.7");
  run.changes.ownDriverFiles = {std::string(kDrivers) + "added.sys", std::string(kDrivers) + "gone.sys"};
  fake::AddFile(std::string(kDrivers) + "added.sys", "added");
  EXPECT_EQ(fake::ExitCodeOf([this] { InstallUninstaller(&run); }), std::nullopt);
  EXPECT_EQ(fake::CallsTo({"FCopyOneFile"}).at(0),
            "FCopyOneFile(\"E:\\DISK\\uninstall.exe\", \"" + std::string(kProductDir) +
                "uninstall.exe\", 2, 0)");
  Trace want = {Item(kDriver), Item(std::string(kDrivers) + "added.sys")};
  for (const char* name : kOwnFiles) want.push_back(Item(std::string(kProductDir) + name));
  EXPECT_EQ(Items("InstalledFiles"), want);  // a target the copy skipped is not recorded
  EXPECT_EQ(Items("InstalledFolders"), Trace{kProductDir});
  EXPECT_EQ(EntryText("DisplayVersion"), "1.2.0.7");  // the installed driver's
  EXPECT_EQ(EntryText("InstallDate"), "20261209");
  EXPECT_EQ(EntryText("QuietUninstallString"),
            "\"" + std::string(kProductDir) + "uninstall.exe\" /quiet");
  // 3000 + 5 + the names' bytes: 4 KiB, rounded up.
  EXPECT_EQ(fake::FindRegValue(kEntry, "EstimatedSize")->data, std::string("\x04\0\0\0", 4));
}

// A re-install replaces the entry: nothing of the earlier one stays; of the
// earlier record's drivers only those still the bytes it recorded are kept.
TEST_F(InstallUninstallerTest, AReinstallWritesTheEntryWholeAndKeepsOnlyWhatIsStillOurs) {
  fake::AddFile(std::string(kDrivers) + "kept.sys", "kept");
  fake::AddFile(std::string(kDrivers) + "changed.sys", "changed since");
  fake::AddFile(std::string(kDrivers) + "scsiport.sys", "a system driver");
  const std::string kept = Item(std::string(kDrivers) + "kept.sys");
  fake::SetRegValue(kEntry, "InstalledFiles", REG_MULTI_SZ,
                    List({kept, std::string(64, 'f') + " 13 " + kDrivers + "changed.sys",
                          std::string(kDrivers) + "scsiport.sys"}));
  fake::SetRegValue(kEntry, "DisplayVersion", REG_SZ, std::string("9.9.9.9") + '\0');
  fake::SetRegValue(kEntry, "Comments", REG_SZ, std::string("from another tool") + '\0');
  fake::SetRegValue(kEntry, "RemovalProgress", REG_SZ, std::string("service") + '\0');
  EXPECT_EQ(fake::ExitCodeOf([this] { InstallUninstaller(&run); }), std::nullopt);
  for (const char* gone : {"DisplayVersion", "Comments", "RemovalProgress"}) {
    EXPECT_EQ(EntryText(gone), "<none>") << gone;
  }
  const Trace items = Items("InstalledFiles");
  ASSERT_EQ(items.size(), 9u);
  EXPECT_EQ(items[1], kept);
  for (const std::string& item : items) {
    EXPECT_EQ(item.find("changed.sys"), std::string::npos);
    EXPECT_EQ(item.find("scsiport.sys"), std::string::npos);
  }
}

// DisplayVersion is the installed driver's: the earlier entry's where that
// entry records these very bytes of the driver, else read from the file.
TEST_F(InstallUninstallerTest, TheVersionIsReadOnlyWhenTheDriverIsNotTheOneRecorded) {
  struct Case {
    const char* name;
    bool sameBytes;
    const char* earlierVersion;  // nullptr: the earlier entry has none
    const char* want;
    int reads;
  };
  const Case cases[] = {{"same driver", true, "1.0.0.9", "1.0.0.9", 0},
                        {"another driver", false, "1.0.0.9", "1.2.0.7", 1},
                        {"same driver, no version recorded", true, nullptr, "1.2.0.7", 1}};
  for (const Case& c : cases) {
    SetUp();
    fake::QueueText("CbGetVersionOfFile", "1.2.0.7");
    const std::string driver = c.sameBytes ? Item(kDriver) : std::string(64, 'a') + " 3000 " + kDriver;
    fake::SetRegValue(kEntry, "InstalledFiles", REG_MULTI_SZ, List({driver}));
    if (c.earlierVersion) {
      fake::SetRegValue(kEntry, "DisplayVersion", REG_SZ, std::string(c.earlierVersion) + '\0');
    }
    EXPECT_EQ(fake::ExitCodeOf([this] { InstallUninstaller(&run); }), std::nullopt) << c.name;
    EXPECT_EQ(EntryText("DisplayVersion"), c.want) << c.name;
    EXPECT_EQ(fake::CountCalls("CbGetVersionOfFile"), c.reads) << c.name;
  }
}

// The manifest lists two of the uninstaller's files: uninstall.exe with bytes
// the disk's file does not have, mscuistf.dll with those of the installed one.
BOOL WINAPI ManifestEntry(LPCSTR file, stf::ExpectedBytes* expected) {
  const char* bytes = lstrcmpiA(file, "uninstall.exe") == 0  ? "signed uninstall.exe"
                      : lstrcmpiA(file, "mscuistf.dll") == 0 ? "installed mscuistf.dll"
                                                             : nullptr;
  if (bytes == nullptr) return FALSE;
  stf::Sha256 hash;
  hash.Update(bytes, std::strlen(bytes));
  hash.Finish(expected->digest);
  expected->size = std::strlen(bytes);
  expected->listed = true;
  return TRUE;
}

// A re-install leaves each of the uninstaller's files that is already what the
// disk would put there: judged by the manifest where it lists the file (the
// disk's file is not read), else by the disk's file. The entry records all.
TEST_F(InstallUninstallerTest, AFileAlreadyInPlaceIsNotCopiedAgain) {
  for (bool manifest : {false, true}) {
    SetUp();
    fake::machine.directories.insert(Upper(kProductDir));
    for (const char* name : kOwnFiles) fake::AddFile(std::string(kProductDir) + name, name);
    fake::AddFile(std::string(kProductDir) + "MSCOMSTF.dll", "an older MSCOMSTF.dll");
    fake::AddFile(std::string(kProductDir) + "mscuistf.dll", "installed mscuistf.dll");
    if (manifest) {
      fake::AddResidentLibrary("MSCOMSTF.dll", {"StfDiskFileExpected"})
          .implementations["StfDiskFileExpected"] =
          reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&ManifestEntry));
    }
    EXPECT_EQ(fake::ExitCodeOf([this] { InstallUninstaller(&run); }), std::nullopt);
    Trace copied;
    for (const fake::Call& call : fake::calls) {
      if (call.name == "FCopyOneFile") copied.push_back(FileNameOfPath(call.args[1].c_str()));
    }
    EXPECT_EQ(copied, manifest ? (Trace{"uninstall.exe\"", "MSCOMSTF.dll\""})
                               : (Trace{"MSCOMSTF.dll\"", "mscuistf.dll\""}))
        << manifest;
    EXPECT_EQ(Items("InstalledFiles").size(), 8u) << manifest;
  }
}

// A failure after the copy puts everything back; an earlier install keeps its
// uninstaller, its entry and its event source as they were.
TEST_F(InstallUninstallerTest, AFailureAfterTheCopyUndoesTheInstall) {
  struct Case {
    const char* name;
    std::function<void()> arrange;
    size_t removed;      // uninstaller files taken back (a re-install: the kept driver and its INI)
    int folders;         // folders taken back
    int sourceRemovals;  // event sources taken back with FRemoveEventSource
    bool reinstall;
  } cases[] = {
      {"third copy", [] { fake::Queue("FCopyOneFile", {1, 1, 0}); }, 2, 1, 0, false},
      {"event source", [] { fake::Always("FRegisterEventSource", 0); }, 7, 1, 1, false},
      {"entry", [] { fake::registry.failingCalls["RegSetValueExA"] = ERROR_ACCESS_DENIED; }, 7,
       1, 1, false},
      {"re-install, entry",
       [] { fake::registry.failingCalls["RegSetValueExA"] = ERROR_ACCESS_DENIED; }, 2, 0, 0, true},
      {"re-install, stale value",
       [] { fake::registry.failingCalls["RegDeleteValueA"] = ERROR_ACCESS_DENIED; }, 2, 0, 0, true},
      {"re-install, third copy", [] { fake::Queue("FCopyOneFile", {1, 1, 0}); }, 2, 0, 0, true},
  };
  for (const Case& c : cases) {
    fake::ResetProcessState();
    SetUp();
    if (c.reinstall) {
      fake::SetRegValue(kEntry, "DisplayName", REG_SZ, std::string("Merlox IDE CD-ROM Drive") + '\0');
      fake::SetRegValue(kEntry, "Stale", REG_SZ, std::string("from before") + '\0');
      fake::SetRegValue(kSource, "EventMessageFile", REG_EXPAND_SZ, std::string("D:\\MSSHLSTF.dll") + '\0');
      fake::machine.directories.insert("C:\\PROGRAM FILES\\MERLOX IDE CD-ROM DRIVE\\");
      fake::machine.services["mlxidecd"] = fake::Service{};
      fake::machine.services["mlxidecd"].start = SERVICE_DEMAND_START;
      fake::machine.services["mlxidecd"].imagePath = "\\SystemRoot\\SYSTEM32\\DRIVERS\\mlxidecd.SYS";
    }
    c.arrange();
    const bool serviceBefore = fake::machine.services.count("mlxidecd") != 0;
    EXPECT_EQ(fake::ExitCodeOf([this] { CopyAndRegisterDriver(&run); }), 0) << c.name;
    EXPECT_EQ(fake::CallsTo({"YnrcRemoveFile"}).size(), c.removed) << c.name;
    EXPECT_EQ(fake::CountCalls("FRemoveDir"), c.folders) << c.name;
    EXPECT_EQ(fake::CountCalls("FRemoveEventSource"), c.sourceRemovals) << c.name;
    EXPECT_EQ(fake::RegKeyExists(kEntry), c.reinstall) << c.name;
    if (c.reinstall) {
      EXPECT_EQ(EntryText("Stale"), "from before") << c.name;
      EXPECT_EQ(EntryText("UninstallString"), "<none>") << c.name;
      EXPECT_EQ(fake::FindRegValue(kSource, "EventMessageFile")->data,
                std::string("D:\\MSSHLSTF.dll") + '\0') << c.name;
    }
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
    fake::AddFile(kDriver, "driver");
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

// The entry as setup writes it: the driver, a driver the install added and
// the uninstaller's files, each with its digest, and the product folder.
const char kFolder[] = "C:\\Program Files\\Merlox IDE CD-ROM Drive";
const std::string kAdded = std::string(kDrivers) + "added.sys";

void RecordInstall(const std::string& location, const std::vector<std::string>& extra = {}) {
  fake::AddFile(kAdded, "added");
  fake::AddUninstallerFiles(kProductDir);
  std::vector<std::string> files = {Item(kDriver), Item(kAdded)};
  for (const char* name : kOwnFiles) files.push_back(Item(std::string(kProductDir) + name));
  files.insert(files.end(), extra.begin(), extra.end());
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

TEST_F(UninstallTest, RemovesTheRecordedFilesThatAreStillOursThenTheFolderOnceEmpty) {
  struct Case {
    const char* name;
    std::function<void()> arrange;
    bool folderGone;
    size_t bootDeletions;  // the folder, queued behind a file in use
    const char* dialog;
    size_t warnings;
  } cases[] = {
      {"empty", [] {}, true, 0, "760", 0},
      {"ours in use",
       [] { fake::machine.filesInUse.insert("C:\\PROGRAM FILES\\MERLOX IDE CD-ROM DRIVE\\UNINSTALL.EXE"); },
       false, 1, "750", 0},
      {"a person's file", [] { fake::AddFile(std::string(kProductDir) + "notes.txt", "mine"); },
       false, 0, "760", 1},
      {"ours changed since", [] { fake::AddFile(kAdded, "replaced by someone"); }, true, 0, "760", 1},
  };
  for (const Case& c : cases) {
    fake::ResetProcessState();
    SetUp();
    RecordInstall(kProductDir);
    c.arrange();
    fake::Events(760, {"CONTINUE"});
    fake::Events(750, {"CONTINUE"});
    EXPECT_EQ(Run(), 0) << c.name;
    EXPECT_EQ(Dialogs().back(), c.dialog) << c.name;
    EXPECT_FALSE(Present(kDriver)) << c.name;
    EXPECT_EQ(Present(kAdded), std::string(c.name) == "ours changed since") << c.name;
    EXPECT_FALSE(Present(std::string(kProductDir) + "MSCOMSTF.dll")) << c.name;
    EXPECT_EQ(fake::machine.directories.count("C:\\PROGRAM FILES\\MERLOX IDE CD-ROM DRIVE") == 0,
              c.folderGone) << c.name;
    EXPECT_EQ(fake::machine.bootDeletions.size(), c.bootDeletions) << c.name;
    EXPECT_EQ(LogWarnings().size(), c.warnings) << c.name;
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
      fake::AddUninstallerFiles(kProductDir);
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
    fake::AddUninstallerFiles(kProductDir);
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

// The entry goes last: a removal stopped part way leaves it, with the steps
// done, and the next run finishes the removal and says what the first had done.
TEST_F(UninstallTest, AStoppedRemovalIsFinishedByTheNextRun) {
  RecordInstall(kProductDir);
  fake::Queue("YnrcRemoveFile", {1, 1, 0});  // the driver, added.sys, then a failure
  fake::Events(400, {"CONTINUE"});
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(fake::RegKeyExists(kEntry));
  EXPECT_EQ(EntryText("RemovalProgress"), "service, driver file");
  EXPECT_EQ(fake::CountCalls("FRemoveEventSource"), 0);
  EXPECT_TRUE(fake::machine.services.empty());

  // A new process on the same machine.
  fake::calls.clear();
  SetupOpenState = kSetupNotOpened;
  FatalErrorShown = 0;
  fake::Events(150, {"CONTINUE"});
  fake::Events(760, {"CONTINUE"});
  EXPECT_EQ(Run(), 0);
  EXPECT_FALSE(fake::RegKeyExists(kEntry));
  EXPECT_EQ(fake::machine.directories.count("C:\\PROGRAM FILES\\MERLOX IDE CD-ROM DRIVE"), 0u);
  const Trace lines = fake::CallsTo({"FWriteToLogFile"});
  EXPECT_NE(lines.end(), std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
              return l.find("it had removed: service, driver file.") != std::string::npos;
            }));
  // Files, folder, event source, then the entry.
  const Trace order = fake::CallNames();
  const auto last = [&](const char* name) {
    return std::find(order.rbegin(), order.rend(), name) - order.rbegin();
  };
  EXPECT_GT(last("YnrcRemoveFile"), last("RemoveDirectoryA"));
  EXPECT_GT(last("RemoveDirectoryA"), last("FRemoveEventSource"));
  EXPECT_GT(last("FRemoveEventSource"), last("RegDeleteKeyA"));
}

}  // namespace
