// Registering the driver service and restarting Windows.
#include "installer/installer.h"
#include "support/setup_paths.h"
#include "tests/fakes/process_state.h"

namespace {

using Trace = std::vector<std::string>;

// The copy has put the driver file in place.
class ServiceTest : public SetupTest {
 protected:
  void SetUp() override {
    SetupTest::SetUp();
    lstrcpyA(SetupPaths.SystemDir, "C:\\WINNT\\SYSTEM32\\");
    fake::AddFile("C:\\WINNT\\SYSTEM32\\DRIVERS\\mlxidecd.SYS");
  }
  ServiceManager services;  // the run's connection, kept open between the steps
  InstallChangeRecord changes;
};

const std::vector<std::string> kServiceOps = {"OpenSCManagerA", "CreateServiceA", "OpenServiceA",
                                              "ChangeServiceConfigA", "CloseServiceHandle",
                                              "HShowWaitCursor", "FRestoreCursor"};

const char kCreate[] =
    "CreateServiceA(0x5c00, \"mlxidecd\", NULL, 983551, 1, 3, 1, "
    "\"\\SystemRoot\\SYSTEM32\\DRIVERS\\mlxidecd.SYS\", \"SCSI miniport\", NULL, \"\", NULL, NULL)";
const char kChange[] =
    "ChangeServiceConfigA(0x5e00, 4294967295, 1, 4294967295, NULL, NULL, NULL, NULL, NULL, NULL, "
    "NULL)";

TEST_F(ServiceTest, NewServiceIsCreatedDemandStartThenSetToSystemStart) {
  EXPECT_EQ(RegisterDriverService(&services, &changes), 1);
  EXPECT_EQ(fake::CallsTo(kServiceOps),
            (std::vector<std::string>{"OpenSCManagerA(NULL, NULL, 983103)", "HShowWaitCursor()",
                                      kCreate, kChange, "CloseServiceHandle(0x5e00)",
                                      "FRestoreCursor(0xc0)"}));
  const fake::Service& s = fake::machine.services.at("mlxidecd");
  EXPECT_EQ(s.start, static_cast<DWORD>(SERVICE_SYSTEM_START));
  EXPECT_EQ(s.type, static_cast<DWORD>(SERVICE_KERNEL_DRIVER));
  EXPECT_EQ(s.errorControl, static_cast<DWORD>(SERVICE_ERROR_NORMAL));
  EXPECT_TRUE(s.dependenciesGiven);  // an empty list, not NULL
  services.Close();
  EXPECT_EQ(fake::machine.openServiceHandles, 0);
}

TEST_F(ServiceTest, ExistingServiceIsOpenedAndOnlyItsStartTypeChanged) {
  fake::Service old;
  old.type = 1;
  old.start = 3;
  old.errorControl = 0;
  old.imagePath = "\\??\\C:\\elsewhere\\mlxidecd.sys";
  old.group = "Other";
  fake::machine.services["mlxidecd"] = old;
  EXPECT_EQ(RegisterDriverService(&services, &changes), 1);
  EXPECT_EQ(fake::CallsTo({"OpenServiceA", "ChangeServiceConfigA"}),
            (std::vector<std::string>{"OpenServiceA(0x5c00, \"mlxidecd\", 983551)", kChange}));
  const fake::Service& s = fake::machine.services.at("mlxidecd");
  EXPECT_EQ(s.start, 1u);
  EXPECT_EQ(s.imagePath, old.imagePath);
  EXPECT_EQ(s.group, "Other");
  services.Close();
  EXPECT_EQ(fake::machine.openServiceHandles, 0);
  // The log says what the service is now, as the manager answers.
  Trace registered;
  for (const std::string& line : fake::CallsTo({"FWriteToLogFile"})) {
    if (line.find("registered") != std::string::npos) registered.push_back(line);
  }
  ASSERT_EQ(registered.size(), 1u);
  EXPECT_NE(registered[0].find("start 1, group \"Other\", image \"\\??\\C:\\elsewhere"),
            std::string::npos) << registered[0];
}

// The settings are read once, but where a change must be read back: a service
// that already had system start was read before and is logged from that answer.
// Seen: the kept-driver step read it before the copy, and it is not asked again;
// one that has gone since is created.
TEST_F(ServiceTest, TheSettingsAreReadBackOnlyAfterAChange) {
  const struct {
    const char* name;
    bool exists;
    bool seen;
    DWORD startBefore;
    int reads;
  } cases[] = {{"created", false, false, 0, 1},
               {"exists, system start", true, false, 1, 1},
               {"exists, demand start", true, false, 3, 2},
               {"seen, system start", true, true, 1, 0},
               {"seen, demand start", true, true, 3, 1},
               {"seen, gone since", false, true, 1, 1}};
  for (const auto& c : cases) {
    SetUp();
    changes = InstallChangeRecord{};
    fake::Service old;
    old.start = c.startBefore;
    old.imagePath = "\\SystemRoot\\SYSTEM32\\DRIVERS\\mlxidecd.SYS";
    if (c.exists) fake::machine.services["mlxidecd"] = old;
    changes.serviceSeen = c.seen;
    changes.serviceSeenConfig.start = old.start;
    changes.serviceSeenConfig.imagePath = old.imagePath;
    EXPECT_EQ(RegisterDriverService(&services, &changes), 1) << c.name;
    EXPECT_EQ(fake::CountCalls("QueryServiceConfigA"), c.reads) << c.name;
    EXPECT_EQ(fake::machine.services.at("mlxidecd").start, 1u) << c.name;
    EXPECT_EQ(changes.serviceStartChanged, c.exists && c.startBefore != 1) << c.name;
    Trace registered;
    for (const std::string& line : fake::CallsTo({"FWriteToLogFile"})) {
      if (line.find("registered: type") != std::string::npos) registered.push_back(line);
    }
    ASSERT_EQ(registered.size(), 1u) << c.name;
    EXPECT_NE(registered[0].find("start 1,"), std::string::npos) << registered[0];
  }
}

struct FailureCase {
  const char* name;
  std::function<void()> arrange;
  int openAttempts;
  bool cursorShown;
};

class ServiceFailureTest : public ServiceTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ServiceFailureTest, AnswersZeroAndClosesWhatItOpened) {
  GetParam().arrange();
  EXPECT_EQ(RegisterDriverService(&services, &changes), 0);
  EXPECT_EQ(fake::CountCalls("OpenServiceA"), GetParam().openAttempts);
  EXPECT_EQ(fake::CountCalls("HShowWaitCursor"), GetParam().cursorShown ? 1 : 0);
  EXPECT_EQ(fake::CountCalls("FRestoreCursor"), GetParam().cursorShown ? 1 : 0);
  services.Close();
  EXPECT_EQ(fake::machine.openServiceHandles, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, ServiceFailureTest,
    ::testing::Values(
        FailureCase{"ManagerUnavailable", [] { fake::machine.managerOpenFails = true; }, 0, false},
        FailureCase{"CreateDenied", [] { fake::machine.createServiceError = ERROR_ACCESS_DENIED; },
                    0, true},
        FailureCase{"ExistsButCannotBeOpened",
                    [] {
                      fake::machine.services["mlxidecd"] = fake::Service{};
                      fake::machine.openServiceFails = true;
                    },
                    1, true},
        FailureCase{"StartTypeCannotBeChanged", [] { fake::machine.changeConfigFails = true; }, 0,
                    true}),
    [](const auto& info) { return std::string(info.param.name); });

// Read before the copy, then marked for deletion: gone at the next boot, so
// the registration fails rather than trust the earlier answer.
TEST_F(ServiceTest, AServiceSeenBeforeButMarkedForDeletionIsNotRegistered) {
  fake::machine.services["mlxidecd"] = fake::Service{};
  fake::machine.createServiceError = ERROR_SERVICE_MARKED_FOR_DELETE;
  changes.serviceSeen = true;
  changes.serviceSeenConfig.start = SERVICE_SYSTEM_START;
  EXPECT_EQ(RegisterDriverService(&services, &changes), 0);
}

TEST_F(ServiceTest, CreatedServiceStaysDemandStartWhenTheChangeFails) {
  fake::machine.changeConfigFails = true;
  EXPECT_EQ(RegisterDriverService(&services, &changes), 0);
  EXPECT_EQ(fake::machine.services.at("mlxidecd").start, 3u);
}

// A registration that worked stands when its settings cannot be read back:
// a warning, not an error record, and no undo.
TEST_F(ServiceTest, AReadBackThatFailsIsAWarning) {
  fake::machine.queryConfigFails = true;
  EXPECT_EQ(RegisterDriverService(&services, &changes), 1);
  EXPECT_EQ(fake::machine.services.at("mlxidecd").start, static_cast<DWORD>(SERVICE_SYSTEM_START));
  const Trace lines = fake::CallsTo({"FWriteToLogFile"});
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("Warning: the settings of service mlxidecd cannot be read back"),
            std::string::npos) << lines[0];
}

TEST_F(ServiceTest, CursorThatCannotBeRestoredIsFatal) {
  fake::Always("FRestoreCursor", 0);
  fake::Events(400, {"CONTINUE"});
  EXPECT_EQ(fake::ExitCodeOf([this] { RegisterDriverService(&services, &changes); }), 0);
}

using RestartTest = SetupTest;

TEST_F(RestartTest, EnablesShutdownPrivilegeThenForcesAReboot) {
  EXPECT_EQ(RestartWindows(), 1);
  EXPECT_EQ(fake::CallsTo({"OpenProcessToken", "LookupPrivilegeValueA", "AdjustTokenPrivileges",
                           "ExitWindowsEx"}),
            (std::vector<std::string>{
                "OpenProcessToken(0xffffffffffffffff, 40)",
                "LookupPrivilegeValueA(NULL, \"SeShutdownPrivilege\")",
                "AdjustTokenPrivileges(0x70c, 0, 1, 19, 2, 0, NULL, NULL)", "ExitWindowsEx(6, 0)"}));
  EXPECT_EQ(fake::machine.shutdownRequests, (std::vector<UINT>{6}));
}

struct RestartFailure {
  const char* name;
  std::function<void()> arrange;
  int rebootRequests;
};

class RestartFailureTest : public SetupTest, public ::testing::WithParamInterface<RestartFailure> {};

TEST_P(RestartFailureTest, AnswersZeroWithoutRebooting) {
  GetParam().arrange();
  EXPECT_EQ(RestartWindows(), 0);
  EXPECT_EQ(fake::CountCalls("ExitWindowsEx"), GetParam().rebootRequests);
  EXPECT_TRUE(fake::machine.shutdownRequests.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Failures, RestartFailureTest,
    ::testing::Values(
        RestartFailure{"TokenCannotBeOpened", [] { fake::machine.openTokenFails = true; }, 0},
        RestartFailure{"PrivilegeUnknown", [] { fake::machine.lookupPrivilegeFails = true; }, 0},
        RestartFailure{"AdjustmentFails", [] { fake::machine.adjustPrivilegesFails = true; }, 0},
        RestartFailure{"PrivilegeNotHeld", [] { fake::machine.holdsShutdownPrivilege = false; },
                       1}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
