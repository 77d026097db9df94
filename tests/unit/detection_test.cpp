// Detection helpers: argument adaptation, bounded queries, computed answers.
#include <cstring>

#include "support/detection.h"
#include "tests/fakes/process_state.h"

namespace {

using DetectionTest = SetupTest;

TEST_F(DetectionTest, DriveLettersBecomeNumbersAndAreUpperCasedAsEachRoutineSays) {
  struct Case {
    const char* op;
    std::function<long(char*)> call;
    const char* given;
    const char* left;
    const char* asked;
  } cases[] = {
      {"FIsValidDrive", [](char* d) { return CheckDriveValid(d); }, "c:\\setup", "C:\\setup",
       "FIsValidDrive(3)"},
      {"FIsLocalHardDrive", [](char* d) { return CheckDriveLocalFixed(d); }, "c:\\setup",
       "C:\\SETUP", "FIsLocalHardDrive(3)"},
      {"FIsRemoveDrive", [](char* d) { return CheckDriveRemovable(d); }, "a", "A",
       "FIsRemoveDrive(1)"},
      {"FIsRemoteDrive", [](char* d) { return CheckDriveRemote(d); }, "d", "d",
       "FIsRemoteDrive(4)"},
      {"LcbTotalDrive", [](char* d) { return QueryDriveTotalBytes(d); }, "z:", "Z:",
       "LcbTotalDrive(26)"},
      {"LcbFreeDrive", [](char* d) { return QueryDriveFreeBytes(d); }, "e:", "e:",
       "LcbFreeDrive(5)"},
      {"FIsValidDrive", [](char* d) { return CheckDriveValid(d); }, "1", "1",
       "FIsValidDrive(-15)"},
  };
  for (const Case& c : cases) {
    fake::ResetProcessState();
    fake::Always(c.op, -7);
    char drive[16];
    std::strcpy(drive, c.given);
    EXPECT_EQ(c.call(drive), -7) << c.given;  // the library's answer, unchanged
    EXPECT_STREQ(drive, c.left);
    EXPECT_EQ(fake::CallsTo({c.op}), (std::vector<std::string>{c.asked}));
  }
}

TEST_F(DetectionTest, BoundedQueriesFitBelowTheCapacityAndEmptyTheBufferWhenTheySaySo) {
  struct Case {
    const char* op;
    std::function<void(char*, int)> call;
    bool emptiesFirst;
  } cases[] = {
      {"CbGetIniKeyString", [](char* b, int n) { ReadIniKeyValue("W.INI", "S", "K", b, n); }, true},
      {"CbGetEnvVariableValue", [](char* b, int n) { ReadEnvValue("PATH", b, n); }, true},
      {"CbGetVersionOfFile", [](char* b, int n) { ReadFileVersion("f", b, n); }, true},
      {"CbFindTargetOnEnvVar", [](char* b, int n) { SearchEnvVarDirs("f", "PATH", b, n); }, true},
      {"CbGetDateOfFile", [](char* b, int n) { ReadFileDate("f", b, n); }, false},
      {"CbFindFileInTree", [](char* b, int n) { SearchDirTree("f", "C:\\", b, n); }, false},
  };
  for (const Case& c : cases) {
    fake::ResetProcessState();
    char buffer[256] = "previous";
    fake::Queue(c.op, {0, 254, -1, 255});
    c.call(buffer, 255);
    EXPECT_STREQ(buffer, c.emptiesFirst ? "" : "previous") << c.op;
    EXPECT_EQ(fake::ExitCodeOf([&] { c.call(buffer, 255); }), std::nullopt) << c.op;
    EXPECT_EQ(fake::ExitCodeOf([&] { c.call(buffer, 255); }), std::nullopt) << c.op;
    fake::Events(400, {"CONTINUE"});
    EXPECT_EQ(fake::ExitCodeOf([&] { c.call(buffer, 255); }), 0) << c.op;
    EXPECT_EQ(fake::CountCalls("DoMsgBox"), 0) << c.op;
  }
}

TEST_F(DetectionTest, FailedListRequestEndsTheProgram) {
  std::vector<std::pair<const char*, std::function<void()>>> fillers = {
      {"FGetValidDrivesList", [] { FillValidDriveList("L"); }},
      {"FGetLocalHardDrivesList", [] { FillLocalFixedDriveList("L"); }},
      {"FGetRemovableDrivesList", [] { FillRemovableDriveList("L"); }},
      {"FGetNetworkDrivesList", [] { FillNetworkDriveList("L"); }},
      {"FGetParallelPortsList", [] { FillParallelPortList("L"); }},
      {"FGetSerialPortsList", [] { FillSerialPortList("L"); }}};
  for (auto& filler : fillers) {
    fake::ResetProcessState();
    EXPECT_EQ(fake::ExitCodeOf(filler.second), std::nullopt) << filler.first;
    fake::Always(filler.first, 0);
    fake::Events(400, {"CONTINUE"});
    EXPECT_EQ(fake::ExitCodeOf(filler.second), 0) << filler.first;
  }
}

TEST_F(DetectionTest, DateFieldsAreReadAtFixedOffsets) {
  const char* date = "1994x07y31 23:59:08";
  EXPECT_EQ(ParseDateYear(date), 1994);
  EXPECT_EQ(ParseDateMonth(date), 7);
  EXPECT_EQ(ParseDateDay(date), 31);
  EXPECT_EQ(ParseDateHour(date), 23);
  EXPECT_EQ(ParseDateMinute(date), 59);
  EXPECT_EQ(ParseDateSecond(date), 8);
  EXPECT_EQ(ParseDateMonth("1994-  -31"), 0);
  // A short string is not read past its end.
  EXPECT_EQ(ParseDateSecond("1994-07-31"), 0);
  EXPECT_EQ(ParseDateMonth("1994-0"), 0);
}

TEST_F(DetectionTest, ProcessorNamesMapToCodes) {
  struct Case {
    const char* name;
    long answer;
    int code;
  } cases[] = {{"r4000", 1, 4000}, {"AXP21064", 1, 21064}, {"C400", 1, 400}, {"80486", 1, 4},
               {"80186", 1, 1},    {"8086", 1, 0},         {"R4000", 0, 0},  {"Z80", 1, 0}};
  for (const Case& c : cases) {
    fake::ResetProcessState();
    fake::QueueText("FGetProcessorType.text", c.name);
    fake::Always("FGetProcessorType", c.answer);
    EXPECT_EQ(QueryProcessorCode(), c.code) << c.name;
    EXPECT_EQ(fake::CallsTo({"FGetProcessorType"}),
              (std::vector<std::string>{"FGetProcessorType(\"\", 0, 32)"}));
  }
}

TEST_F(DetectionTest, InvalidPathIsNotAskedAbout) {
  fake::Always("FValidPath", 0);
  EXPECT_EQ(CheckFileExists("::bad", 0), 0);
  EXPECT_EQ(fake::CountCalls("FDoesFileExist"), 0);
  fake::Always("FValidPath", 1);
  fake::Always("FDoesFileExist", 5);
  EXPECT_EQ(CheckFileExists("C:\\a", 1), 5);
  EXPECT_EQ(fake::CallsTo({"FDoesFileExist"}),
            (std::vector<std::string>{"FDoesFileExist(\"C:\\a\", 1)"}));
}

TEST_F(DetectionTest, VersionAndScreenComeFromThePlatform) {
  fake::machine.version = 0xABCD3203;  // low byte 3, second byte 50
  EXPECT_EQ(QueryWindowsMajor(), 3);
  EXPECT_EQ(QueryWindowsMinor(), 50);
  fake::machine.screenWidth = 640;
  fake::machine.screenHeight = 480;
  EXPECT_EQ(QueryScreenWidth(), 640);
  EXPECT_EQ(QueryScreenHeight(), 480);
  fake::Queue("FHas87MathChip", {7, 7});
  EXPECT_EQ(CheckMathCoprocessor(), CheckMathCoprocessorAlt());
}

}  // namespace
