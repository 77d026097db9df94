// Registry keys and values through the bound entry points, and tree deletion.
#include <cstring>

#include "support/registry_binding.h"
#include "support/registry_routines.h"
#include "tests/fakes/fake_registry.h"
#include "tests/fakes/process_state.h"
#include "toolkit/setup_lifecycle.h"

namespace {

const std::string kRoot = "HKEY_CLASSES_ROOT\\";

class RegistryRoutinesTest : public SetupTest {
 protected:
  void SetUp() override {
    SetupTest::SetUp();
    ASSERT_EQ(BindRegistryFunctions(), 1);
    fake::calls.clear();
  }
  // Runs a body expected to take the fatal path.
  static std::optional<int> Fatal(const std::function<void()>& body) {
    fake::Events(400, {"CONTINUE"});
    return fake::ExitCodeOf(body);
  }
  static std::vector<std::string> Reports() { return fake::CallsTo({"EercErrorHandler"}); }
  static std::string Report(const std::string& text) {
    return "EercErrorHandler(104, 1, \"" + text + "\", NULL, NULL)";
  }
  // K with subkeys B (index 0) and C (index 1); B has D.
  static void BuildTree() {
    fake::AddRegKey(kRoot + "K\\B\\D");
    fake::AddRegKey(kRoot + "K\\C");
  }
};

TEST_F(RegistryRoutinesTest, TreeIsDeletedDeepestAndHighestIndexFirst) {
  BuildTree();
  DeleteRegKey("K");
  EXPECT_EQ(fake::registry.deletions,
            (std::vector<std::string>{kRoot + "K\\C", kRoot + "K\\B\\D", kRoot + "K\\B",
                                      kRoot + "K"}));
  EXPECT_TRUE(Reports().empty());
  EXPECT_EQ(fake::OpenRegKeyCount(), 0);
  EXPECT_EQ(fake::registry.liveAllocations, 0);
  EXPECT_EQ(fake::registry.allocations, 4);  // two per level with subkeys, none per subkey
}

TEST_F(RegistryRoutinesTest, KeyWithoutSubkeysIsDeletedWithoutAllocating) {
  fake::AddRegKey(kRoot + "LEAF");
  EXPECT_EQ(DeleteAllSubKeys(HKEY_CLASSES_ROOT, "LEAF"), 1);
  EXPECT_FALSE(fake::RegKeyExists(kRoot + "LEAF"));
  EXPECT_EQ(fake::registry.allocations, 0);
}

TEST_F(RegistryRoutinesTest, MissingKeyIsNotDeletedAndNotReported) {
  DeleteRegKey("NOWHERE");
  DeleteRegKeyEx(HKEY_LOCAL_MACHINE, "NOWHERE");
  EXPECT_TRUE(Reports().empty());
  EXPECT_EQ(fake::CountCalls("RegDeleteKeyA"), 0);
}

TEST_F(RegistryRoutinesTest, FailuresInsideTheTreeReportOnceOrTwiceAndFreeEverything) {
  struct Case {
    const char* name;
    std::function<void()> inject;
    std::vector<std::string> reports;
    std::vector<std::string> deleted;  // before the failure, and staying deleted
  } cases[] = {
      {"open", [] { fake::registry.openErrors[kRoot + "K\\B"] = ERROR_ACCESS_DENIED; },
       {Report("DeleteAllSubKeys:open"), Report("DeleteAllSubKeys")},
       {kRoot + "K\\C"}},
      {"enum", [] { fake::registry.enumErrors[{kRoot + "K", 0}] = ERROR_ACCESS_DENIED; },
       {Report("DeleteAllSubKeys:enum"), Report("DeleteAllSubKeys")},
       {kRoot + "K\\C"}},
      {"info", [] { fake::registry.queryInfoFails.insert(kRoot + "K\\B"); },
       {Report("DeleteAllSubKeys")},
       {kRoot + "K\\C"}},
      {"alloc", [] { fake::registry.allocationsBeforeFailure = 3; },  // B's path buffer
       {Report("DeleteAllSubKeys:alloc"), Report("DeleteAllSubKeys")},
       {kRoot + "K\\C"}},
  };
  for (const Case& c : cases) {
    fake::ResetProcessState();
    ASSERT_EQ(BindRegistryFunctions(), 1);
    BuildTree();
    c.inject();
    EXPECT_EQ(Fatal([] { DeleteRegKey("K"); }), 0) << c.name;
    EXPECT_EQ(Reports(), c.reports) << c.name;
    EXPECT_EQ(fake::registry.deletions, c.deleted) << c.name;
    EXPECT_EQ(fake::OpenRegKeyCount(), 0) << c.name;
    EXPECT_EQ(fake::registry.liveAllocations, 0) << c.name;
  }
}

// The system counts the longest subkey name in UTF-16 units; each double-byte
// character takes two bytes of the name buffer.
TEST_F(RegistryRoutinesTest, DoubleByteSubkeyNamesFitTheNameBuffer) {
  fake::machine.leadBytes = {0x83};
  const std::string name = "\x83\x68\x83\x89\x83\x6F";  // three characters, six bytes
  fake::AddRegKey(kRoot + "K\\" + name + "\\" + name);
  fake::AddRegKey(kRoot + "K\\B");
  DeleteRegKey("K");
  EXPECT_TRUE(Reports().empty());
  EXPECT_FALSE(fake::RegKeyExists(kRoot + "K"));
  EXPECT_EQ(fake::registry.deletions.front(), kRoot + "K\\B");
  EXPECT_EQ(fake::registry.allocations, 4);
  EXPECT_EQ(fake::registry.liveAllocations, 0);
}

TEST_F(RegistryRoutinesTest, RootItselfIsNeverDeleted) {
  BuildTree();
  const std::pair<const char*, std::function<void()>> cases[] = {
      {"DeleteRegKey", [] { DeleteRegKey(""); }},
      {"DeleteRegKey", [] { DeleteRegKey("\\K"); }},
      {"DeleteRegKeyEx", [] { DeleteRegKeyEx(HKEY_CLASSES_ROOT, ""); }},
      {"DeleteRegKeyEx", [] { DeleteRegKeyEx(HKEY_CLASSES_ROOT, "\\K"); }},
  };
  for (const auto& c : cases) {
    fake::calls.clear();
    FatalErrorShown = 0;
    EXPECT_EQ(Fatal(c.second), 0) << c.first;
    EXPECT_EQ(Reports(), (std::vector<std::string>{Report(c.first)}));
    EXPECT_EQ(fake::CountCalls("RegOpenKeyA") + fake::CountCalls("RegOpenKeyExA"), 0);
  }
  EXPECT_TRUE(fake::registry.deletions.empty());
}

TEST_F(RegistryRoutinesTest, SubkeyThatVanishedDuringTheWalkIsPassedOver) {
  BuildTree();
  fake::registry.enumErrors[{kRoot + "K", 1}] = ERROR_NO_MORE_ITEMS;
  EXPECT_EQ(DeleteAllSubKeys(HKEY_CLASSES_ROOT, "K"), 1);
  EXPECT_EQ(fake::registry.deletions.front(), kRoot + "K\\B\\D");
}

TEST_F(RegistryRoutinesTest, DefaultValuesAreWrittenAndReadBack) {
  CreateRegKeyValue("APP\\PATH", "C:\\APP\\x.dll");
  EXPECT_EQ(fake::RegDefault(kRoot + "APP\\PATH"), "C:\\APP\\x.dll");
  SetRegKeyValue("APP\\PATH", "D:\\y.dll");
  char buffer[256];
  EXPECT_STREQ(GetRegKeyValue("APP\\PATH", buffer, 255), "D:\\y.dll");
  EXPECT_EQ(fake::CallsTo({"RegSetValueA"}).back(),
            "RegSetValueA(" + fake::FormatArg(static_cast<const void*>(HKEY_CLASSES_ROOT)) +
                ", \"APP\\PATH\", 1, \"D:\\y.dll\", 8)");
  CreateRegKey("NEW\\KEY");
  EXPECT_TRUE(fake::RegKeyExists(kRoot + "NEW\\KEY"));
  EXPECT_EQ(DoesRegKeyExist("NEW\\KEY"), 1);
  EXPECT_EQ(DoesRegKeyExist("OLD"), 0);
  EXPECT_EQ(fake::OpenRegKeyCount(), 0);
}

TEST_F(RegistryRoutinesTest, MissingKeyReadsAsEmptyWithoutAReport) {
  char buffer[8] = "junk";
  EXPECT_STREQ(GetRegKeyValue("NOWHERE", buffer, 7), "");
  BYTE data[4] = {9, 9, 9, 9};
  DWORD type = 77;
  EXPECT_EQ(GetRegKeyValueEx(HKEY_CLASSES_ROOT, "NOWHERE", "v", &type, data, 4), ERROR_BADKEY);
  EXPECT_EQ(type, 77u);
  EXPECT_EQ(data[0], 9);
  EXPECT_TRUE(Reports().empty());
}

TEST_F(RegistryRoutinesTest, ReadsThatDoNotFitEndTheProgram) {
  fake::SetRegDefault(kRoot + "K", "abcdefgh");
  char buffer[8];
  EXPECT_EQ(Fatal([&] { GetRegKeyValue("K", buffer, 7); }), 0);  // the platform refuses
  EXPECT_EQ(Reports(), (std::vector<std::string>{Report("GetRegKeyValue")}));

  // A count beyond the buffer, whatever the platform claims, is not believed.
  for (auto read : std::vector<std::function<void()>>{
           [&] { GetRegKeyValue("K", buffer, 7); },
           [&] {
             GetRegKeyValueEx(HKEY_CLASSES_ROOT, "K", "", nullptr,
                              reinterpret_cast<LPBYTE>(buffer), 7);
           }}) {
    fake::ResetProcessState();
    ASSERT_EQ(BindRegistryFunctions(), 1);
    fake::SetRegDefault(kRoot + "K", "abc");
    fake::registry.reportCount = true;
    fake::registry.reportedCount = 8;
    EXPECT_EQ(Fatal(read), 0);
    EXPECT_EQ(fake::CallsTo({"DoMsgBox"}),
              (std::vector<std::string>{"DoMsgBox(\"Buffer Overflow\", \"MS-Setup Error\", 16)"}));
  }
}

TEST_F(RegistryRoutinesTest, NamedValuesNeedAnExistingKey) {
  fake::AddRegKey("HKEY_LOCAL_MACHINE\\SOFT");
  const BYTE data[] = {1, 2, 3};
  SetRegKeyValueEx(HKEY_LOCAL_MACHINE, "SOFT", "Bin", 3, data, 3);
  BYTE back[8] = {0};
  DWORD type = 0;
  EXPECT_EQ(GetRegKeyValueEx(HKEY_LOCAL_MACHINE, "SOFT", "Bin", &type, back, 8), 0);
  EXPECT_EQ(type, 3u);
  EXPECT_EQ(std::memcmp(back, data, 3), 0);
  EXPECT_EQ(fake::OpenRegKeyCount(), 0);

  EXPECT_EQ(Fatal([&] { CreateRegKeyValueEx(HKEY_LOCAL_MACHINE, "NONE", "v", 3, data, 3); }), 0);
  EXPECT_EQ(Reports(), (std::vector<std::string>{Report("CreateRegKeyValueEx:open")}));
  EXPECT_FALSE(fake::RegKeyExists("HKEY_LOCAL_MACHINE\\NONE"));
}

TEST_F(RegistryRoutinesTest, EachFailingCallIsReportedUnderItsRoutine) {
  struct Case {
    const char* failing;
    std::function<void()> call;
    const char* report;
  } cases[] = {
      {"RegCreateKeyA", [] { CreateRegKey("A"); }, "CreateRegKey"},
      {"RegCloseKey", [] { CreateRegKeyEx(HKEY_CLASSES_ROOT, "A"); }, "CreateRegKeyEx"},
      {"RegSetValueA", [] { CreateRegKeyValue("A", "v"); }, "CreateRegKeyValue"},
      {"RegSetValueA", [] { SetRegKeyValue("A", "v"); }, "SetRegKeyValue"},
      {"RegSetValueExA", [] { SetRegKeyValueEx(HKEY_CLASSES_ROOT, "E", "v", 1, nullptr, 0); },
       "SetRegKeyValueEx"},
      {"RegOpenKeyExA", [] { SetRegKeyValueEx(HKEY_CLASSES_ROOT, "E", "v", 1, nullptr, 0); },
       "SetRegKeyValueEx:open"},
      {"RegQueryValueExA",
       [] { GetRegKeyValueEx(HKEY_CLASSES_ROOT, "E", "v", nullptr, nullptr, 0); },
       "GetRegKeyValueEx"},
  };
  for (const Case& c : cases) {
    fake::ResetProcessState();
    ASSERT_EQ(BindRegistryFunctions(), 1);
    fake::AddRegKey(kRoot + "E");
    fake::registry.failingCalls[c.failing] = ERROR_ACCESS_DENIED;
    EXPECT_EQ(Fatal(c.call), 0) << c.report;
    EXPECT_EQ(Reports(), (std::vector<std::string>{Report(c.report)})) << c.report;
  }
}

TEST_F(RegistryRoutinesTest, UnboundOptionalEntryPointCountsAsAFailedCall) {
  BuildTree();
  RegistryFunctions.RegQueryInfoKeyA = nullptr;
  EXPECT_EQ(DeleteAllSubKeys(HKEY_CLASSES_ROOT, "K"), 0);
  RegistryFunctions.RegOpenKeyExA = nullptr;
  EXPECT_EQ(Fatal([] { DeleteRegKey("K"); }), 0);
  EXPECT_EQ(Reports(),
            (std::vector<std::string>{Report("DeleteAllSubKeys:open"), Report("DeleteAllSubKeys")}));
  EXPECT_TRUE(fake::RegKeyExists(kRoot + "K\\B\\D"));
}

}  // namespace
