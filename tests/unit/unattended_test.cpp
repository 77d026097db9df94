// Unattended runs as the program sees them: start-up failures that must not
// wait on a box when the toolkit offers to write them down, the refused
// restart handed to the toolkit, setup.inf found beside setup.exe, and a driver service
// that is registered only over a driver file in place.
#include "installer/installer.h"
#include "support/setup_paths.h"
#include "tests/fakes/process_state.h"
#include "toolkit/unattended.h"

namespace {

using Trace = std::vector<std::string>;

// What our toolkit's shell library answers, and what it was told.
struct ShellAnswers {
  BOOL quiet = TRUE;
  Trace told;
} shell;

BOOL StfStartupFailure(LPCSTR text) {
  shell.told.push_back(text);
  return shell.quiet;
}

template <typename F>
FARPROC Export(F* function) {
  return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(function));
}

class UnattendedTest : public SetupTest {
 protected:
  void SetUp() override {
    SetupTest::SetUp();
    shell = ShellAnswers{};
    fake::SetSymbol("STF_SRCDIR", "D:\\");
  }

  // The toolkit with the exports looked up at run time; without it, an older one.
  static void OfferExports() {
    fake::Library& library = fake::AddResidentLibrary("MSSHLSTF.dll", {"StfStartupFailure"});
    library.implementations["StfStartupFailure"] = Export(&StfStartupFailure);
  }

  static std::optional<int> Run() {
    char tail[] = "/quiet";
    return fake::ExitCodeOf([&] { WinMain(nullptr, nullptr, tail, SW_SHOWDEFAULT); });
  }

  static Trace Boxes() {
    Trace texts;
    for (const fake::MessageBoxRecord& box : fake::machine.boxes) texts.push_back(box.text);
    return texts;
  }
};

TEST_F(UnattendedTest, StartupFailureWaitsOnABoxOnlyWhenAPersonIsThere) {
  struct Case {
    bool offered;
    BOOL quiet;
    bool box;
  } cases[] = {{true, TRUE, false}, {true, FALSE, true}, {false, TRUE, true}};
  for (const Case& c : cases) {
    fake::ResetProcessState();
    shell = ShellAnswers{};
    shell.quiet = c.quiet;
    if (c.offered) OfferExports();
    fake::Always("InitializeFrame", -1);
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Boxes(), c.box ? Trace{"Cannot initialize setup!"} : Trace{}) << c.offered << c.quiet;
    EXPECT_EQ(shell.told, c.offered ? Trace{"Cannot initialize setup!"} : Trace{});
  }
}

TEST_F(UnattendedTest, RefusedRestartIsHandedToTheToolkitWithItsError) {
  fake::machine.holdsShutdownPrivilege = false;  // ExitWindowsEx answers 1314
  fake::Events(100, {"CONTINUE"});
  fake::Events(700, {"RESTART"});
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(fake::CallsTo({"StfRestartRefused"}), Trace{"StfRestartRefused(1314)"});

  // An accepted restart reports nothing.
  fake::ResetProcessState();
  fake::SetSymbol("STF_SRCDIR", "D:\\");
  fake::Events(100, {"CONTINUE"});
  fake::Events(700, {"RESTART"});
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(fake::CountCalls("StfRestartRefused"), 0);
  EXPECT_EQ(fake::machine.shutdownRequests.size(), 1u);
}

// setup.inf: the launch folder's when it holds one, else the one beside setup.exe.
TEST_F(UnattendedTest, SetupInfIsFoundBesideSetupExe) {
  struct Case {
    const char* currentDir;
    bool currentDirFails;
    bool infInCurrentDir;
    const char* opened;
  } cases[] = {
      {"C:\\WORK", false, true, "C:\\WORK\\setup.inf"},
      {"C:\\WINDOWS", false, false, "E:\\DISK\\setup.inf"},
      {"C:\\WORK", true, true, "E:\\DISK\\setup.inf"},
  };
  for (const Case& c : cases) {
    fake::ResetProcessState();
    fake::SetSymbol("STF_SRCDIR", "E:\\DISK\\");
    fake::machine.currentDir = c.currentDir;
    fake::machine.currentDirFails = c.currentDirFails;
    fake::machine.modulePath = "E:\\DISK\\SETUP.EXE";
    fake::AddUninstallerFiles("E:\\DISK\\");
    if (c.infInCurrentDir) fake::AddFile(std::string(c.currentDir) + "\\setup.inf");
    fake::Events(100, {"CONTINUE"});
    fake::Events(700, {"CONTINUE"});
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(fake::CallsTo({"FOpenInf"}),
              Trace{"FOpenInf(\"" + std::string(c.opened) + "\", 1, 0)"})
        << c.currentDir;
  }
}

TEST_F(UnattendedTest, NoReadableFolderEndsWithAReasonNotTheDriveRoot) {
  fake::machine.currentDirFails = true;
  fake::machine.modulePath = "E:\\" + std::string(270, 'x') + "\\SETUP.EXE";
  fake::Events(400, {"CONTINUE"});
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(fake::CountCalls("FOpenInf"), 0);
  Trace boxes = fake::CallsTo({"DoMsgBox"});
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("paths are too long"), std::string::npos) << boxes[0];
  EXPECT_EQ(fake::CountCalls("FDoDialogExt"), 0);  // the box is the one window
}

class ImageCheckTest : public SetupTest {
 protected:
  void SetUp() override {
    SetupTest::SetUp();
    lstrcpyA(SetupPaths.SystemDir, "C:\\WINNT\\SYSTEM32\\");
  }
  static Trace LogLines() {
    Trace lines;
    for (const std::string& call : fake::CallsTo({"FWriteToLogFile"})) lines.push_back(call);
    return lines;
  }
  static bool Logged(const std::string& text) {
    for (const std::string& line : LogLines()) {
      if (line.find(text) != std::string::npos) return true;
    }
    return false;
  }
  ServiceManager services;
  InstallChangeRecord changes;
};

TEST_F(ImageCheckTest, ServiceOverAMissingDriverFileIsNotRegistered) {
  EXPECT_EQ(RegisterDriverService(&services, &changes), 0);
  EXPECT_EQ(fake::CountCalls("OpenSCManagerA"), 0);
  EXPECT_TRUE(fake::machine.services.empty());
  EXPECT_TRUE(Logged("Error: The driver file C:\\WINNT\\SYSTEM32\\DRIVERS\\mlxidecd.SYS is not in "
                     "place; the service is not registered (error 2)"));
}

TEST_F(ImageCheckTest, ExistingServiceIsLoggedAndAStrangeImageWarnedOf) {
  struct Case {
    const char* image;
    bool warned;
  } cases[] = {
      {"\\SystemRoot\\SYSTEM32\\DRIVERS\\mlxidecd.SYS", false},
      {"System32\\drivers\\MLXIDECD.sys", false},
      {"%SystemRoot%\\system32\\drivers\\mlxidecd.sys", false},
      {"C:\\WINNT\\SYSTEM32\\DRIVERS\\mlxidecd.SYS", false},
      {"\\??\\C:\\WINNT\\system32\\drivers\\mlxidecd.sys", false},
      {"\\??\\C:\\elsewhere\\mlxidecd.sys", true},
      {"System32\\drivers\\other.sys", true},
  };
  for (const Case& c : cases) {
    fake::ResetProcessState();
    lstrcpyA(SetupPaths.SystemDir, "C:\\WINNT\\SYSTEM32\\");
    fake::AddFile("C:\\WINNT\\SYSTEM32\\DRIVERS\\mlxidecd.SYS");
    fake::Service old;
    old.type = 1;
    old.start = 3;
    old.imagePath = c.image;
    old.group = "SCSI miniport";
    fake::machine.services["mlxidecd"] = old;
    EXPECT_EQ(RegisterDriverService(&services, &changes), 1) << c.image;
    EXPECT_TRUE(Logged("Service mlxidecd exists: type 1, start 3, group \"SCSI miniport\", image \"" +
                       fake::FormatArg(c.image).substr(1)))
        << c.image;
    EXPECT_EQ(Logged("Warning: service mlxidecd keeps its image path"), c.warned) << c.image;
  }
}

// The toolkit that keeps a failure's parts for its error dialogs gets them
// apart; one without gets the same line as text.
Trace kept;
void StfLogFailure(LPCSTR text, LPCSTR call, LPCSTR object, DWORD error) {
  kept.push_back(std::string(text ? text : "<none>") + "|" + call + "|" + object + "|" +
                 std::to_string(error));
}

void OfferLogFailure() {
  kept.clear();
  fake::AddResidentLibrary("MSCOMSTF.dll", {"StfLogFailure"}).implementations["StfLogFailure"] =
      Export(&StfLogFailure);
}

TEST_F(ImageCheckTest, FailuresReachTheToolkitInPartsWhenItKeepsThem) {
  fake::AddFile("C:\\WINNT\\SYSTEM32\\DRIVERS\\mlxidecd.SYS");
  fake::machine.createServiceError = ERROR_ACCESS_DENIED;
  OfferLogFailure();
  EXPECT_EQ(RegisterDriverService(&services, &changes), 0);
  EXPECT_EQ(kept, Trace{"<none>|CreateServiceA|mlxidecd|5"});
  EXPECT_FALSE(Logged("Error: "));

  fake::ResetProcessState();
  lstrcpyA(SetupPaths.SystemDir, "C:\\WINNT\\SYSTEM32\\");
  OfferLogFailure();
  EXPECT_EQ(RegisterDriverService(&services, &changes), 0);  // no driver file: a sentence, and its code
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(kept[0], "The driver file C:\\WINNT\\SYSTEM32\\DRIVERS\\mlxidecd.SYS is not in place; "
                     "the service is not registered|||2");
}

TEST_F(ImageCheckTest, RegistrationFailuresNameTheCallAndTheCode) {
  fake::AddFile("C:\\WINNT\\SYSTEM32\\DRIVERS\\mlxidecd.SYS");
  fake::machine.createServiceError = ERROR_ACCESS_DENIED;
  EXPECT_EQ(RegisterDriverService(&services, &changes), 0);
  EXPECT_TRUE(Logged("Error: CreateServiceA mlxidecd (error 5)"));
  EXPECT_FALSE(Logged("registered"));
}

}  // namespace
