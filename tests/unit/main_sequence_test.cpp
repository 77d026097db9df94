// WinMain end to end against the fakes: every way out, each with exit code 0.
#include <algorithm>
#include <functional>

#include "installer/installer.h"
#include "tests/fakes/fake_registry.h"
#include "tests/fakes/process_state.h"
#include "tests/unit/language_files.h"
#include "platform/dialogs/box_text_ids.h"

namespace {

using Trace = std::vector<std::string>;

class MainSequenceTest : public SetupTest {
 protected:
  void SetUp() override {
    SetupTest::SetUp();
    fake::SetSymbol("STF_SRCDIR", "D:\\");
  }

  std::optional<int> Run(const char* tail = "") {
    std::string line = tail;
    return fake::ExitCodeOf([&] {
      WinMain(reinterpret_cast<HINSTANCE>(0x400000), nullptr, &line[0], SW_SHOWDEFAULT);
    });
  }

  // The install's milestones, in order.
  static Trace Milestones() {
    Trace out;
    for (const fake::Call& call : fake::calls) {
      const std::string& n = call.name;
      if (n == "FDoDialogExt") out.push_back("dialog " + call.args[2]);
      if (n == "MessageBoxA") out.push_back("box " + call.args[1]);
      if (n == "FAddSectionFilesToCopyList") out.push_back("queue " + call.args[2]);
      if (n == "GrcCopyFilesInCopyList") out.push_back("copy");
      if (n == "CreateServiceA") out.push_back("create service");
      if (n == "OpenServiceA") out.push_back("open service");
      if (n == "ChangeServiceConfigA") out.push_back("system start");
      if (n == "TerminateFrame") out.push_back("end setup");
      if (n == "ExitWindowsEx") out.push_back("reboot");
    }
    return out;
  }

  static Trace FirstArgs(const std::string& name) {
    for (const fake::Call& call : fake::calls) {
      if (call.name == name) return call.args;
    }
    return {};
  }
};

TEST_F(MainSequenceTest, TypicalRunInstallsRegistersAndRestarts) {
  fake::Events(100, {"CONTINUE"});
  fake::Events(700, {"RESTART"});
  EXPECT_EQ(Run("/quiet"), 0);

  // The command tail reaches the frame, the title is the product's, and
  // setup.inf is read from the folder setup started in.
  EXPECT_EQ(FirstArgs("InitializeFrame"), Trace{"\"/quiet\""});
  EXPECT_EQ(FirstArgs("SetWindowTextA").at(1), "\"Merlox IDE CD-ROM Drive Setup\"");
  EXPECT_EQ(FirstArgs("FOpenInf").at(0), "\"D:\\setup.inf\"");
  EXPECT_EQ(Milestones(),
            (Trace{"queue \"C:\\WINNT\\SYSTEM32\\DRIVERS\\\"", "dialog 100", "copy",
                   "create service", "system start", "dialog 700", "end setup", "reboot"}));
  const fake::Service& s = fake::machine.services.at("mlxidecd");
  EXPECT_EQ(s.start, 1u);
  EXPECT_EQ(s.imagePath, "\\SystemRoot\\SYSTEM32\\DRIVERS\\mlxidecd.SYS");
  EXPECT_TRUE(fake::toolkit.dialogStack.empty());
  EXPECT_EQ(fake::LoadedLibraryCount(), 0);
  // The registry binding is released before the restart question.
  Trace names = fake::CallNames();
  auto freed = std::find(names.begin(), names.end(), "FreeLibrary");
  ASSERT_NE(freed, names.end());
  EXPECT_EQ(std::count(freed, names.end(), "FDoDialogExt"), 1);
}

TEST_F(MainSequenceTest, SetupThatCannotBeOpenedShowsF1WithoutEndingIt) {
  for (long frame : {0L, -1L, -2L}) {
    fake::ResetProcessState();
    fake::Always("InitializeFrame", frame);
    EXPECT_EQ(Run(""), 0);
    EXPECT_EQ(FirstArgs("InitializeFrame"), Trace{"\"\""});  // an empty tail, not none
    EXPECT_EQ(fake::CallsTo({"MessageBoxA"}),
              (Trace{"MessageBoxA(NULL, \"Cannot initialize setup!\", \"Error\", 16)"}));
    // Other than -1 ends inside InitializeSetup; WinMain itself ends nothing.
    EXPECT_EQ(fake::CountCalls("TerminateFrame"), frame == -1 ? 0 : 1);
    EXPECT_EQ(fake::CountCalls("FDoDialogExt"), 0);
    EXPECT_EQ(fake::CountCalls("FSetBitmap"), 0);
  }
}

TEST_F(MainSequenceTest, RegistryThatCannotBeBoundShowsF2AndEndsTheSetup) {
  fake::machine.libraries.clear();
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(Milestones(), (Trace{"box \"Cannot initialize registry!\"", "end setup"}));
}

TEST_F(MainSequenceTest, BitmapOrInfFailureTakesTheFatalPath) {
  for (const char* op : {"FSetBitmap", "FOpenInf"}) {
    fake::ResetProcessState();
    fake::Always(op, 0);
    fake::Events(400, {"CONTINUE"});
    EXPECT_EQ(Run(), 0) << op;
    EXPECT_EQ(Milestones(), (Trace{"dialog 400", "end setup"})) << op;
  }
}

TEST_F(MainSequenceTest, QuitConfirmedInTheQuitDialogInstallsNothing) {
  fake::Events(100, {"CANCEL"});
  fake::Events(200, {"EXIT"});
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(Milestones(), (Trace{"queue \"C:\\WINNT\\SYSTEM32\\DRIVERS\\\"", "dialog 100", "dialog 200", "end setup"}));
}

TEST_F(MainSequenceTest, QuitDeclinedShowsWelcomeAgainThenInstalls) {
  fake::Events(100, {"CANCEL", "CONTINUE"});
  fake::Events(200, {"CONTINUE"});
  fake::Events(700, {"CONTINUE"});
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(Milestones(),
            (Trace{"queue \"C:\\WINNT\\SYSTEM32\\DRIVERS\\\"", "dialog 100", "dialog 200", "dialog 100",
                   "copy", "create service", "system start", "dialog 700", "end setup"}));
}

// The driver goes to the Windows directory's SYSTEM32\DRIVERS\, a drive root's
// too; a directory that cannot be read is reported first, then the root's is used.
TEST_F(MainSequenceTest, DriversDirectoryFollowsTheWindowsDirectory) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\", "queue \"C:\\SYSTEM32\\DRIVERS\\\""},
      {nullptr, "queue \"\\SYSTEM32\\DRIVERS\\\""}};
  for (const auto& c : cases) {
    fake::ResetProcessState();
    fake::SetSymbol("STF_SRCDIR", "D:\\");
    fake::machine.windowsDirFails = c.first == nullptr;
    if (c.first) fake::machine.windowsDir = c.first;
    fake::Events(6400, {"CANCEL"});
    fake::Events(100, {"CONTINUE"});
    fake::Events(700, {"CONTINUE"});
    EXPECT_EQ(Run(), 0);
    const Trace m = Milestones();
    EXPECT_EQ(m.at(0) == "dialog 6400", c.first == nullptr) << c.second;
    EXPECT_EQ(std::count(m.begin(), m.end(), c.second), 1) << c.second;
  }
}

// However long the Windows directory or the disk's folder, the copy gets them
// whole, or the setup stops before anything is copied with one box that names
// the directory; a Windows directory too long to read is not taken for a
// missing one.
TEST_F(MainSequenceTest, LongDirectoriesAreNeverCut) {
  for (bool windows : {true, false}) {
    bool overflowed = false;
    for (size_t length = 240; length <= 270; ++length) {
      const std::string dir = "C:\\" + std::string(length - 4, 'w') + "\\";
      fake::ResetProcessState();
      fake::SetSymbol("STF_SRCDIR", windows ? "D:\\" : dir);
      if (windows) fake::machine.windowsDir = dir.substr(0, dir.size() - 1);
      fake::Events(100, {"CONTINUE"});
      fake::Events(700, {"CONTINUE"});
      EXPECT_EQ(Run(), 0);
      const Trace queued = FirstArgs("FAddSectionFilesToCopyList");
      EXPECT_EQ(fake::CountCalls("GrcCopyFilesInCopyList"), queued.empty() ? 0 : 1) << length;
      EXPECT_EQ(Milestones().at(queued.empty() ? 0 : 1), queued.empty() ? "end setup" : "dialog 100")
          << length;
      if (queued.empty()) {
        overflowed = true;
        const Trace boxes = fake::CallsTo({"StfLanguageBox", "DoMsgBox"});
        ASSERT_EQ(boxes.size(), 1u) << length;
        EXPECT_NE(boxes[0].find(dir.substr(0, dir.size() - 1)), std::string::npos) << boxes[0];
      } else {
        EXPECT_FALSE(overflowed) << length;
        const std::string whole = windows ? dir + "SYSTEM32\\DRIVERS\\" : dir;
        EXPECT_EQ(queued.at(windows ? 2 : 1), fake::FormatArg(whole.c_str())) << length;
      }
    }
    EXPECT_TRUE(overflowed);
  }
}

// Only a positive copy result is a failure: the fatal path, no service touched.
TEST_F(MainSequenceTest, OnlyAPositiveCopyResultIsAFailure) {
  for (long grc : {1L, 48L, 0L, -3L}) {
    fake::ResetProcessState();
    fake::SetSymbol("STF_SRCDIR", "D:\\");
    fake::Always("GrcCopyFilesInCopyList", grc);
    fake::Events(100, {"CONTINUE"});
    fake::Events(400, {"CONTINUE"});
    fake::Events(700, {"CONTINUE"});
    EXPECT_EQ(Run(), 0) << grc;
    const Trace m = Milestones();
    const Trace failed = {"dialog 400", "end setup"};
    const Trace done = {"create service", "system start", "dialog 700", "end setup"};
    EXPECT_EQ(Trace(m.begin() + 3, m.end()), grc > 0 ? failed : done) << grc;
  }
}

TEST_F(MainSequenceTest, ExistingServiceIsReusedWithItsImagePath) {
  fake::Service old;
  old.start = 3;
  old.imagePath = "custom.sys";
  fake::machine.services["mlxidecd"] = old;
  fake::Events(100, {"CONTINUE"});
  fake::Events(700, {"CONTINUE"});
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(fake::machine.services.at("mlxidecd").imagePath, "custom.sys");
  EXPECT_EQ(fake::machine.services.at("mlxidecd").start, 1u);
}

// A run that changes nothing, with the driver running, needs no restart; any
// change, a stopped driver or an earlier run's pending rename does.
TEST_F(MainSequenceTest, ARunThatChangedNothingEndsWithoutARestart) {
  const std::string kPending = "\\??\\C:\\WINNT\\SYSTEM32\\drivers\\~stf00000001.tmp\\0\\0.old";
  struct Case {
    const char* name;
    long filesCopied;
    DWORD startBefore;
    DWORD state;
    bool pendingRename;
    const char* dialog;
  } cases[] = {
      {"nothing changed", 0, SERVICE_SYSTEM_START, SERVICE_RUNNING, false, "710"},
      {"a file copied", 1, SERVICE_SYSTEM_START, SERVICE_RUNNING, false, "700"},
      {"start type changed", 0, SERVICE_DEMAND_START, SERVICE_RUNNING, false, "700"},
      {"driver stopped", 0, SERVICE_SYSTEM_START, SERVICE_STOPPED, false, "700"},
      {"earlier rename pending", 0, SERVICE_SYSTEM_START, SERVICE_RUNNING, true, "700"},
  };
  for (const Case& c : cases) {
    fake::ResetProcessState();
    fake::SetSymbol("STF_SRCDIR", "D:\\");
    fake::AddFile("C:\\WINNT\\SYSTEM32\\DRIVERS\\mlxidecd.SYS");
    fake::Always("UsCopyListChanges", c.filesCopied);
    fake::Service old;
    old.type = SERVICE_KERNEL_DRIVER;
    old.start = c.startBefore;
    old.state = c.state;
    old.imagePath = "\\SystemRoot\\SYSTEM32\\DRIVERS\\mlxidecd.SYS";
    fake::machine.services["mlxidecd"] = old;
    if (c.pendingRename) {
      fake::SetRegValue("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Session Manager",
                        "PendingFileRenameOperations", REG_MULTI_SZ,
                        kPending + '\0' + '\0' + '\0');
    }
    fake::Events(100, {"CONTINUE"});
    fake::Events(700, {"CONTINUE"});
    fake::Events(710, {"CONTINUE"});
    EXPECT_EQ(Run("/quiet"), 0) << c.name;
    Trace m = Milestones();
    EXPECT_EQ(Trace(m.end() - 2, m.end()), (Trace{std::string("dialog ") + c.dialog, "end setup"}))
        << c.name;
  }
}

// Everything missing from the disk is named in one box before anything changes.
TEST_F(MainSequenceTest, AnIncompleteDiskIsRefusedBeforeAnythingChanges) {
  fake::toolkit.section = {{"mlxidecd.SYS"}, {"other.sys"}, {"optional.dll", "", 0}};  // the last is not vital
  fake::AddFile("D:\\other.sys");
  fake::machine.files.erase("D:\\UNINSTALL.EXE");
  fake::machine.files.erase("D:\\MSCUISTF.DLL");
  fake::Events(100, {"CONTINUE"});
  fake::Events(400, {"CONTINUE"});
  EXPECT_EQ(Run("/quiet"), 0);
  Trace boxes = fake::CallsTo({"StfLanguageBox"});
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("lacks 3 files"), std::string::npos) << boxes[0];
  const fake::Call& box = *std::find_if(fake::calls.begin(), fake::calls.end(),
                                        [](const fake::Call& c) { return c.name == "StfLanguageBox"; });
  auto bare = [&](int i) { return box.args[i].substr(1, box.args[i].size() - 2); };
  const std::string inserts[3] = {bare(4), bare(5), bare(6)};
  EXPECT_EQ(language_files::Fill(language_files::Strings("en").at(IDS_STF_DISK_LACKS), inserts),
            bare(2)) << "the English box is en.rc's form";
  for (const char* name : {"D:\\mlxidecd.SYS", "D:\\uninstall.exe", "D:\\mscuistf.dll"}) {
    EXPECT_NE(boxes[0].find(name), std::string::npos) << name;
  }
  EXPECT_EQ(boxes[0].find("other.sys"), std::string::npos);
  EXPECT_EQ(boxes[0].find("optional.dll"), std::string::npos);
  EXPECT_EQ(fake::CountCalls("GrcCopyFilesInCopyList") + fake::CountCalls("OpenSCManagerA") +
                fake::CountCalls("FUndoCopyList"),
            0);
}

// A refused registration puts the copy and the service back before dialog 900.
TEST_F(MainSequenceTest, RegistrationFailureIsRolledBackThenShowsDialog900) {
  struct Case {
    const char* name;
    std::function<void()> arrange;
    size_t servicesAfter;
  } cases[] = {
      {"create refused", [] { fake::machine.createServiceError = ERROR_ACCESS_DENIED; }, 0},
      {"created, start refused", [] { fake::machine.changeConfigFails = true; }, 0},
      {"marked for delete",
       [] {
         fake::machine.services["mlxidecd"].markedForDelete = true;
         fake::machine.createServiceError = ERROR_SERVICE_MARKED_FOR_DELETE;
       },
       1},
  };
  for (const Case& c : cases) {
    fake::ResetProcessState();
    fake::SetSymbol("STF_SRCDIR", "D:\\");
    c.arrange();
    fake::Events(100, {"CONTINUE"});
    fake::Events(900, {"CONTINUE"});
    EXPECT_EQ(Run(), 0) << c.name;
    EXPECT_EQ(fake::machine.services.size(), c.servicesAfter) << c.name;
    if (c.servicesAfter) {
      EXPECT_EQ(fake::machine.services.at("mlxidecd").start, 0u) << c.name;
    }
    EXPECT_EQ(fake::CallsTo({"FUndoCopyList", "FCommitCopyList", "FCopyOneFile"}),
              Trace{"FUndoCopyList()"}) << c.name;
    EXPECT_EQ(fake::machine.openServiceHandles, 0) << c.name;
    Trace m = Milestones();
    EXPECT_EQ(Trace(m.end() - 2, m.end()), (Trace{"dialog 900", "end setup"})) << c.name;
    EXPECT_EQ(fake::CountCalls("ExitWindowsEx"), 0) << c.name;
  }
}

// The run's changes are put back once, from the copy until the entry makes
// them final: not again when the fatal path is met after the undo, not at all
// once final.
TEST_F(MainSequenceTest, TheRunIsUndoneOnceAndNeverOnceFinal) {
  const struct {
    const char* name;
    std::function<void()> arrange;
    int undos, commits;
    size_t services;
  } cases[] = {
      {"dialog 900 cannot be shown",
       [] {
         fake::machine.createServiceError = ERROR_ACCESS_DENIED;
         fake::Queue("FDoDialogExt", {1, 0});
       },
       1, 0, 0},
      {"the billboard cannot be closed", [] { fake::Queue("FKillNDialogs", {1, 1, 0}); }, 0, 1, 1},
  };
  for (const auto& c : cases) {
    fake::ResetProcessState();
    fake::SetSymbol("STF_SRCDIR", "D:\\");
    c.arrange();
    fake::Events(100, {"CONTINUE"});
    fake::Events(400, {"CONTINUE"});
    EXPECT_EQ(Run("/quiet"), 0) << c.name;
    EXPECT_EQ(fake::CountCalls("FUndoCopyList"), c.undos) << c.name;
    EXPECT_EQ(fake::CountCalls("FCommitCopyList"), c.commits) << c.name;
    EXPECT_EQ(fake::machine.services.size(), c.services) << c.name;
  }
}

TEST_F(MainSequenceTest, RestartDeclinedEndsWithoutRestarting) {
  fake::Events(100, {"CONTINUE"});
  fake::Events(700, {"CANCEL"});
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(fake::CountCalls("OpenProcessToken"), 0);
  EXPECT_EQ(Milestones().back(), "end setup");
}

TEST_F(MainSequenceTest, MissingShutdownPrivilegeEndsQuietly) {
  fake::machine.holdsShutdownPrivilege = false;
  fake::Events(100, {"CONTINUE"});
  fake::Events(700, {"RESTART"});
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(fake::CountCalls("ExitWindowsEx"), 1);
  EXPECT_TRUE(fake::machine.shutdownRequests.empty());
  EXPECT_TRUE(fake::machine.boxes.empty());
}

}  // namespace
