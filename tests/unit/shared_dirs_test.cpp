// Shared application directories in "WIN.INI" and the choice of where a
// shared file lives.
#include <cstring>

#include "support/shared_dirs.h"
#include "support/shared_file_search.h"
#include "support/registry_binding.h"
#include "support/setup_paths.h"
#include "tests/fakes/fake_registry.h"
#include "tests/fakes/process_state.h"

namespace {

const std::vector<std::string> kWrites = {"FCreateIniKeyValue"};

std::string Write(const std::string& key, const std::string& value) {
  return "FCreateIniKeyValue(\"WIN.INI\", \"MSAPPS\", \"" + key + "\", \"" + value + "\", 1024)";
}

class SharedDirsTest : public SetupTest {
 protected:
  void SetUp() override {
    SetupTest::SetUp();
    std::strcpy(SetupPaths.StartDir, "D:\\");
    ASSERT_EQ(BindRegistryFunctions(), 1);
  }
};

TEST_F(SharedDirsTest, FirstRunRecordsTheDefaultsInOrderAndASecondRunDoesNothing) {
  fake::Always("FDoesIniKeyExist", 0);
  fake::QueueText("CbGetIniKeyString", "C:\\WINNT\\MSAPPS");
  EXPECT_EQ(PrepareSharedAppDirs(), 1);
  std::vector<std::string> expected = {Write("MSAPPS", "C:\\WINNT\\MSAPPS")};
  for (const char* key :
       {"CLIPART", "EQUATION", "GRPHFLT", "MSDRAW", "MSGRAPH", "PROOF", "TEXTCONV", "WORDART"}) {
    expected.push_back(Write(key, std::string("C:\\WINNT\\MSAPPS\\") + key));
  }
  EXPECT_EQ(fake::CallsTo(kWrites), expected);
  EXPECT_EQ(fake::CallsTo({"GetWindowsDirectoryA"}).size(), 1u);

  fake::calls.clear();
  EXPECT_EQ(PrepareSharedAppDirs(), 1);
  EXPECT_TRUE(fake::calls.empty());
}

TEST_F(SharedDirsTest, FailedRunIsNotRepeatedAndStopsAtTheFirstFailedEntry) {
  fake::Always("FDoesIniKeyExist", 0);
  fake::QueueText("CbGetIniKeyString", "C:\\WINNT\\MSAPPS");
  fake::Queue("FCreateIniKeyValue", {1, 1, 0});
  EXPECT_EQ(PrepareSharedAppDirs(), 0);
  EXPECT_EQ(fake::CallsTo(kWrites).back(), Write("EQUATION", "C:\\WINNT\\MSAPPS\\EQUATION"));
  EXPECT_EQ(fake::CountCalls("FCreateIniKeyValue"), 3);
  EXPECT_EQ(PrepareSharedAppDirs(), 1);
  EXPECT_EQ(fake::CountCalls("FCreateIniKeyValue"), 3);
}

TEST_F(SharedDirsTest, InvalidSharedDirectoryIsReplacedButValidSubdirectoriesStay) {
  fake::QueueText("CbGetIniKeyString", "Q:?bad");          // existing MSAPPS
  fake::QueueText("CbGetIniKeyString", "C:\\WINNT\\MSAPPS");  // after rewriting
  fake::Queue("FValidDir", {0});
  EXPECT_EQ(PrepareSharedAppDirs(), 1);
  EXPECT_EQ(fake::CallsTo(kWrites), (std::vector<std::string>{Write("MSAPPS", "C:\\WINNT\\MSAPPS")}));
}

TEST_F(SharedDirsTest, SubdirectoryThatWouldNotFitIsAFailureNotAnOverrun) {
  std::string dir = "C:\\" + std::string(246, 'D') + "\\";  // 250 characters
  fake::Always("FDoesIniKeyExist", 0);
  EXPECT_EQ(EnsureSharedSubdirEntry("PROOF", dir.c_str()), 1);     // 255 fit...
  fake::calls.clear();
  EXPECT_EQ(EnsureSharedSubdirEntry("TEXTCONV", dir.c_str()), 0);  // ...258 do not
  EXPECT_EQ(fake::CountCalls("FCreateIniKeyValue"), 0);
}

TEST_F(SharedDirsTest, VersionsCompareByTheirFirstFourNumericFields) {
  struct Case {
    const char* a;
    const char* b;
    std::vector<long> fields;  // a1, b1, a2, b2, ...
    int result;
  } cases[] = {{"", "", {}, 0},
               {"", "1.0", {}, -1},
               {"1.0", "", {}, 1},
               {"2.0", "10.0", {2, 10}, -1},
               {"1.2.3.4.5", "1.2.3.4.9", {1, 1, 2, 2, 3, 3, 4, 4}, 0},
               {"1.3", "1.2", {1, 1, 3, 2}, 1}};
  for (const Case& c : cases) {
    fake::ResetProcessState();
    fake::Queue("LGetVersionNthField", c.fields);
    EXPECT_EQ(CompareVersionStrings(c.a, c.b), c.result) << c.a << " " << c.b;
    EXPECT_EQ(fake::CountCalls("LGetVersionNthField"), static_cast<int>(c.fields.size()));
  }
}

// The registry names a file that is missing; its name is looked for in the
// Windows directory, the system directory and along PATH, in that order.
TEST_F(SharedDirsTest, MissingRegistryCandidateIsLookedForWhereWindowsLooks) {
  fake::SetRegDefault("HKEY_CLASSES_ROOT\\App\\Path", "E:\\OLD\\x.dll");
  fake::QueueText("FParsePathIntoPieces", "x.dll");
  fake::QueueText("CbFindTargetOnEnvVar", "F:\\BIN\\x.dll");
  fake::Queue("FDoesFileExist", {0, 0, 0});  // recorded path, Windows dir, system dir
  char out[256];
  EXPECT_EQ(PickSharedFileLocation("App\\Path", "", "", 1, "C:\\DEF\\x.dll", "", out, 255), out);
  EXPECT_STREQ(out, "F:\\BIN\\x.dll");
  EXPECT_EQ(fake::CallsTo({"FDoesFileExist", "CbFindTargetOnEnvVar"}),
            (std::vector<std::string>{"FDoesFileExist(\"E:\\OLD\\x.dll\", 0)",
                                      "FDoesFileExist(\"C:\\WINNT\\x.dll\", 0)",
                                      "FDoesFileExist(\"C:\\WINNT\\SYSTEM32\\x.dll\", 0)",
                                      "CbFindTargetOnEnvVar(\"x.dll\", \"PATH\", 255)"}));
  EXPECT_EQ(QuerySharedFileUpdateNeeded(), 0);
}

TEST_F(SharedDirsTest, OlderUnwritableCopyIsDroppedForTheNextCandidate) {
  fake::SetRegDefault("HKEY_CLASSES_ROOT\\App", "E:\\x.dll");
  fake::QueueText("CbGetIniKeyString", "ignored,G:\\y\\x.dll,more");
  fake::Queue("LGetVersionNthField", {1, 2, 1, 2});  // both copies 1 against 2
  fake::Queue("FIsFileWritable", {0, 1});
  char out[256];
  EXPECT_STREQ(PickSharedFileLocation("App", "Sec", "Key", 2, "C:\\d", "2.0", out, 255),
               "G:\\y\\x.dll");
  EXPECT_EQ(QuerySharedFileUpdateNeeded(), 1);
  EXPECT_EQ(fake::CallsTo({"FIsFileWritable"}),
            (std::vector<std::string>{"FIsFileWritable(\"E:\\x.dll\")",
                                      "FIsFileWritable(\"G:\\y\\x.dll\")"}));
}

TEST_F(SharedDirsTest, DefaultPathIsAnsweredWithTheUpdateFlagFromItsCopy) {
  struct Case {
    long exists;
    std::vector<long> fields;  // found, required
    int update;
  } cases[] = {{0, {}, 1}, {1, {3, 2}, 0}, {1, {2, 2, 0, 0, 0, 0, 0, 0}, 0}, {1, {1, 2}, 1}};
  for (const Case& c : cases) {
    fake::ResetProcessState();
    fake::Always("FDoesFileExist", c.exists);
    fake::QueueText("CbGetVersionOfFile", "v");
    fake::Queue("LGetVersionNthField", c.fields);
    char out[256];
    EXPECT_STREQ(PickSharedFileLocation("", "", "", 1, "C:\\D\\x.dll", "r", out, 255),
                 "C:\\D\\x.dll");
    EXPECT_EQ(QuerySharedFileUpdateNeeded(), c.update) << c.exists;
    EXPECT_EQ(fake::CountCalls("RegOpenKeyA") + fake::CountCalls("CbGetIniKeyString"), 0);
  }
  char small[4];
  EXPECT_EQ(PickSharedFileLocation("", "", "", 1, "C:\\D\\x.dll", "", small, 3), nullptr);
  EXPECT_EQ(PickSharedFileLocation("", "", "", 1, "C:\\x", "", nullptr, 255), nullptr);
}

TEST_F(SharedDirsTest, LongNamesAreNeverComposedPastTheBuffers) {
  std::string longName(250, 'n');
  fake::QueueText("CbFindTargetOnEnvVar", "F:\\" + longName);  // fits 255, not the output
  char out[64];
  EXPECT_STREQ(LocateInWindowsSearchPath(longName.c_str(), out, 63), "");
  // Windows directory + name would be 259 characters: not asked about.
  EXPECT_EQ(fake::CountCalls("FDoesFileExist"), 0);
  EXPECT_EQ(fake::CountCalls("CbFindTargetOnEnvVar"), 1);
}

TEST_F(SharedDirsTest, FindComposesTheDefaultPathFromTheApplicationDirectory) {
  fake::Queue("FDoesIniKeyExist", {0, 0});  // Prepare: no MSAPPS yet
  fake::QueueText("CbGetIniKeyString", "C:\\WINNT\\MSAPPS");
  fake::Always("FCreateIniKeyValue", 1);
  ASSERT_EQ(PrepareSharedAppDirs(), 1);
  fake::calls.clear();

  fake::Queue("FDoesIniKeyExist", {0, 1});  // no application key; MSAPPS present
  fake::QueueText("CbGetIniKeyString", "C:\\WINNT\\MSAPPS");
  fake::QueueText("CbGetInfSectionKeyField", "x.dll");
  fake::QueueText("CbGetInfSectionKeyField", "1.0");
  fake::Always("FDoesFileExist", 0);
  char out[256];
  EXPECT_STREQ(FindSharedAppFile("Files", "x", "MYAPP", "", "", "", 1, out, 255),
               "C:\\WINNT\\MSAPPS\\MYAPP\\x.dll");
  EXPECT_EQ(fake::CallsTo(kWrites),
            (std::vector<std::string>{Write("MYAPP", "C:\\WINNT\\MSAPPS\\MYAPP")}));
  EXPECT_EQ(fake::CallsTo({"CbGetInfSectionKeyField"}),
            (std::vector<std::string>{
                "CbGetInfSectionKeyField(\"Files\", \"x\", 1, 233)",
                "CbGetInfSectionKeyField(\"Files\", \"x\", 19, 31)"}));
  EXPECT_EQ(QuerySharedFileUpdateNeeded(), 1);
}

TEST_F(SharedDirsTest, FindAnswersNullWithoutEntriesOrFields) {
  struct Case {
    std::vector<long> keyExists;
    std::vector<long> fieldResults;
  } cases[] = {{{0, 0}, {}}, {{1}, {-1}}, {{1}, {5, -1}}, {{1}, {400}}};
  for (const Case& c : cases) {
    fake::ResetProcessState();
    SharedDirsSetUpPending = 0;
    fake::Queue("FDoesIniKeyExist", c.keyExists);
    fake::Queue("CbGetInfSectionKeyField", c.fieldResults);
    SharedFileUpdateNeeded = 7;
    char out[256];
    EXPECT_EQ(FindSharedAppFile("S", "K", "APP", "", "", "", 1, out, 255), nullptr);
    EXPECT_EQ(SharedFileUpdateNeeded, 7);  // left as the previous call left it
  }
}

}  // namespace
