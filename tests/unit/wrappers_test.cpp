// The wrapper family: what each passes, when it ends the program, what it returns.
#include <cstring>

#include "tests/fakes/process_state.h"
#include "toolkit/setup_lifecycle.h"
#include "toolkit/wrappers.h"

namespace {

struct GuardedCase {
  const char* op;
  std::function<void()> call;
  const char* passed;  // the toolkit call as the transcript shows it
};

class GuardedWrapperTest : public SetupTest, public ::testing::WithParamInterface<GuardedCase> {};

TEST_P(GuardedWrapperTest, PassesItsArgumentsAndReturnsOnSuccess) {
  EXPECT_EQ(fake::ExitCodeOf(GetParam().call), std::nullopt);
  EXPECT_EQ(fake::CallsTo({GetParam().op}), (std::vector<std::string>{GetParam().passed}));
}

TEST_P(GuardedWrapperTest, ZeroAnswerEndsTheProgramWithoutAnOverflowBox) {
  fake::Always(GetParam().op, 0);
  fake::Events(400, {"CONTINUE"});
  EXPECT_EQ(fake::ExitCodeOf(GetParam().call), 0);
  EXPECT_EQ(fake::CountCalls("DoMsgBox"), 0);
  EXPECT_EQ(fake::CountCalls("FDoDialogExt"), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Family, GuardedWrapperTest,
    ::testing::Values(
        GuardedCase{"FAddListItem", [] { AppendListItem("L", "i"); }, "FAddListItem(\"L\", \"i\")"},
        GuardedCase{"FReplaceListItem", [] { OverwriteListItem("L", 2, "i"); },
                    "FReplaceListItem(\"L\", 2, \"i\")"},
        GuardedCase{"FSetSymbolValue", [] { StoreSymbolValue("S", "v"); },
                    "FSetSymbolValue(\"S\", \"v\")"},
        GuardedCase{"FRemoveSymbol", [] { DeleteSymbol("S"); }, "FRemoveSymbol(\"S\")"},
        GuardedCase{"FCreateDir", [] { MakeDirectory("C:\\D", 1); }, "FCreateDir(\"C:\\D\", 1)"},
        GuardedCase{"FRemoveDir", [] { DeleteDirectory("C:\\D", 0); }, "FRemoveDir(\"C:\\D\", 0)"},
        GuardedCase{"FRemoveIniSection", [] { DeleteIniSection("a.ini", "S", 0); },
                    "FRemoveIniSection(\"a.ini\", \"S\", 0)"},
        GuardedCase{"FCreateIniKeyValue", [] { WriteIniValue("a.ini", "S", "K", "V", 1024); },
                    "FCreateIniKeyValue(\"a.ini\", \"S\", \"K\", \"V\", 1024)"},
        GuardedCase{"FRemoveIniKey", [] { DeleteIniKey("a.ini", "S", "K", 0); },
                    "FRemoveIniKey(\"a.ini\", \"S\", \"K\", 0)"},
        GuardedCase{"FCreateSysIniKeyValue",
                    [] { WriteSystemIniValue("s.ini", "S", "K", "V", 0); },
                    "FCreateSysIniKeyValue(\"s.ini\", \"S\", \"K\", \"V\", 0)"},
        GuardedCase{"FCreateProgManGroup", [] { MakeProgramGroup("G", "p", 0); },
                    "FCreateProgManGroup(\"G\", \"p\", 0)"},
        GuardedCase{"FCreateProgManGroupEx", [] { MakeProgramGroupEx("G", "p", 0); },
                    "FCreateProgManGroupEx(\"G\", \"p\", 0)"},
        GuardedCase{"FStampResource", [] { StampFileResource("S", "K", "d", 6, 7, "x", 1); },
                    "FStampResource(\"S\", \"K\", \"d\", 6, 7, \"x\", 1)"},
        GuardedCase{"FDumpCopyListToFile", [] { WriteCopyListToFile("f"); },
                    "FDumpCopyListToFile(\"f\")"},
        GuardedCase{"YnrcRemoveFile", [] { EraseFile("f", 0); }, "YnrcRemoveFile(\"f\", 0)"},
        GuardedCase{"FAddSectionKeyFileToCopyList", [] { QueueSectionKeyFile("S", "K", "a", "b"); },
                    "FAddSectionKeyFileToCopyList(\"S\", \"K\", \"a\", \"b\")"},
        GuardedCase{"FAddSpecialFileToCopyList", [] { QueueSpecialFile("S", "K", "a", "b"); },
                    "FAddSpecialFileToCopyList(\"S\", \"K\", \"a\", \"b\")"},
        GuardedCase{"FClearBillboardList", [] { DropAllBillboards(); }, "FClearBillboardList()"},
        GuardedCase{"FOpenLogFile", [] { OpenSetupLog("l", 1); }, "FOpenLogFile(\"l\", 1)"},
        GuardedCase{"FCloseLogFile", [] { CloseSetupLog(); }, "FCloseLogFile()"},
        GuardedCase{"FSetRestartDir", [] { ChooseRestartDirectory("d"); }, "FSetRestartDir(\"d\")"},
        GuardedCase{"FPrependToPath", [] { PrependPathEntry("a", "b", "c", 0); },
                    "FPrependToPath(\"a\", \"b\", \"c\", 0)"},
        // Prepared calls: the argument the wrapper adds or converts.
        GuardedCase{"FSetSymbolToListOfInfKeys", [] { FillSymbolWithSectionKeys("L", "S"); },
                    "FSetSymbolToListOfInfKeys(\"L\", \"S\", 1)"},
        GuardedCase{"FMakeListInfSectionField", [] { CollectDiskNames("L", "S"); },
                    "FMakeListInfSectionField(\"L\", \"S\", 1)"},
        GuardedCase{"FMakeListInfSectionField", [] { CollectInstallNames("L", "S"); },
                    "FMakeListInfSectionField(\"L\", \"S\", 2)"},
        GuardedCase{"FMakeListInfSectionField", [] { CollectDescriptions("L", "S"); },
                    "FMakeListInfSectionField(\"L\", \"S\", 5)"},
        GuardedCase{"FMakeListInfSectionField", [] { CollectFileFlags("L", "S"); },
                    "FMakeListInfSectionField(\"L\", \"S\", 15)"},
        GuardedCase{"FMakeListInfSectionField", [] { CollectFileVersions("L", "S"); },
                    "FMakeListInfSectionField(\"L\", \"S\", 19)"},
        GuardedCase{"YnrcBackupFile", [] { SaveFileBackup("f", "b"); },
                    "YnrcBackupFile(\"f\", \"b\", 0)"},
        GuardedCase{"FAddToBillboardList", [] { AddBlankBillboard(9); },
                    "FAddToBillboardList(NULL, 0, NULL, 9)"},
        GuardedCase{"FWriteToLogFile", [] { WriteSetupLog("t"); }, "FWriteToLogFile(\"t\", 1)"},
        GuardedCase{"FCopyOneFile", [] { CopySingleFile("a", "b", 0, 0); },
                    "FCopyOneFile(\"a\", \"b\", 2, 0)"},
        GuardedCase{"FCopyOneFile", [] { CopySingleFile("a", "b", 5, 1); },
                    "FCopyOneFile(\"a\", \"b\", 7, 1)"},
        GuardedCase{"FShowProgManGroup", [] { DisplayProgramGroup("G", -5, 0); },
                    "FShowProgManGroup(\"G\", \"-5\", 0)"},
        GuardedCase{"FShowProgManGroupEx", [] { DisplayProgramGroupEx("G", "p", 2147483647, 0); },
                    "FShowProgManGroupEx(\"G\", \"p\", \"2147483647\", 0)"},
        GuardedCase{"FCreateProgManItem", [] { MakeProgramItem("G", "Item", "c", "icon", 0); },
                    "FCreateProgManItem(\"G\", \"Item,icon\", \"c\", 0)"},
        GuardedCase{"FCreateProgManItem", [] { MakeProgramItem("G", "Item", "c", "", 0); },
                    "FCreateProgManItem(\"G\", \"Item\", \"c\", 0)"},
        GuardedCase{"FCreateProgManItem", [] { MakeProgramItem("G", "Item", "c", nullptr, 0); },
                    "FCreateProgManItem(\"G\", \"Item\", \"c\", 0)"},
        GuardedCase{"FCreateProgManItemEx",
                    [] { MakeProgramItemEx("G", "p", "Item", "c", "x", 3); },
                    "FCreateProgManItemEx(\"G\", \"p\", \"Item,x\", \"c\", 3)"}),
    [](const auto& info) {
      return std::string(info.param.op) + "_" + std::to_string(info.index);
    });

using WrapperReadTest = SetupTest;

TEST_F(WrapperReadTest, ListItemIndexIsCheckedAgainstTheLengthBeforeTheRead) {
  fake::toolkit.lists["L"] = {"one", "two", "three"};
  struct Case {
    const char* list;
    int index;
    bool fatal;
    bool read;
  } cases[] = {{"L", 0, true, false}, {"L", -1, true, false}, {"L", 1, false, true},
               {"L", 3, false, true}, {"L", 4, true, false},  {"", 1, true, false},
               {nullptr, 1, true, false}};
  for (const Case& c : cases) {
    fake::calls.clear();
    fake::toolkit.events[400] = {"CONTINUE"};
    FatalErrorShown = 0;
    char buffer[16] = {0};
    auto code = fake::ExitCodeOf([&] { ReadListItem(c.list, c.index, buffer, 16); });
    EXPECT_EQ(code.has_value(), c.fatal) << c.index;
    EXPECT_EQ(fake::CountCalls("CbGetListItem"), c.read ? 1 : 0) << c.index;
    if (c.index == 3) {
      EXPECT_STREQ(buffer, "three");
    }
    if (c.list == nullptr || c.list[0] == '\0') {
      EXPECT_EQ(fake::CountCalls("UsGetListLength"), 0);
    }
  }
}

TEST_F(WrapperReadTest, ListItemThatDoesNotFitShowsTheOverflowBox) {
  fake::toolkit.lists["L"] = {std::string(16, 'x')};
  fake::Events(400, {"CONTINUE"});
  char buffer[16];
  EXPECT_EQ(fake::ExitCodeOf([&] { ReadListItem("L", 1, buffer, 16); }), 0);
  EXPECT_EQ(fake::CountCalls("DoMsgBox"), 1);
}

TEST_F(WrapperReadTest, CountingAnUnnamedListIsFatalBeforeTheToolkit) {
  fake::Events(400, {"CONTINUE"});
  EXPECT_EQ(fake::ExitCodeOf([] { CountListItems(""); }), 0);
  EXPECT_EQ(fake::CountCalls("UsGetListLength"), 0);
}

TEST_F(WrapperReadTest, InfFieldReadersOverflowAndMissingField) {
  struct Case {
    long result;  // what the toolkit answers
    bool fatal;
    int boxes;
  } cases[] = {{5, false, 0}, {15, false, 0}, {16, true, 1}, {-1, true, 0}, {-2, false, 0}};
  using Reader = LPSTR (*)(LPCSTR, LPCSTR, LPSTR, INT);
  const std::pair<Reader, int> readers[] = {
      {ReadInfField1, 1}, {ReadInfField5, 5}, {ReadInfField19, 19}};
  for (const auto& reader : readers) {
    for (const Case& c : cases) {
      fake::ResetProcessState();
      fake::Queue("CbGetInfSectionKeyField", {c.result});
      fake::Events(400, {"CONTINUE"});
      char buffer[16];
      auto code = fake::ExitCodeOf([&] { reader.first("S", "K", buffer, 16); });
      EXPECT_EQ(code.has_value(), c.fatal) << reader.second << " " << c.result;
      EXPECT_EQ(fake::CountCalls("DoMsgBox"), c.boxes) << reader.second << " " << c.result;
      EXPECT_EQ(fake::CallsTo({"CbGetInfSectionKeyField"}),
                (std::vector<std::string>{"CbGetInfSectionKeyField(\"S\", \"K\", " +
                                          std::to_string(reader.second) + ", 16)"}));
    }
  }
}

TEST_F(WrapperReadTest, Field15IsConvertedLikeTheStandardConversion) {
  const std::pair<const char*, INT> cases[] = {
      {"  -42abc", -42}, {"x12", 0}, {"", 0}, {"+7", 7}, {"\t 99 ", 99},
      {"-", 0},          {"2147483647", 2147483647}, {"99999999999999999999", 2147483647},
      {"-2147483648", -2147483647 - 1}};
  for (const auto& c : cases) {
    fake::ResetProcessState();
    fake::QueueText("CbGetInfSectionKeyField", c.first);
    EXPECT_EQ(ReadInfField15Number("S", "K"), c.second) << "\"" << c.first << "\"";
    EXPECT_EQ(fake::CallsTo({"CbGetInfSectionKeyField"}),
              (std::vector<std::string>{"CbGetInfSectionKeyField(\"S\", \"K\", 15, 128)"}));
  }
  fake::ResetProcessState();
  fake::QueueText("CbGetInfSectionKeyField", std::string(128, '1'));
  fake::Events(400, {"CONTINUE"});
  EXPECT_EQ(fake::ExitCodeOf([] { ReadInfField15Number("S", "K"); }), 0);
  EXPECT_EQ(fake::CountCalls("DoMsgBox"), 1);
}

TEST_F(WrapperReadTest, FindFileByOpeningResults) {
  struct Case {
    long result;
    const char* text;  // what the toolkit writes, or null for nothing
    const char* expected;
    bool fatal;
  } cases[] = {{0, "C:\\found.dll", "C:\\found.dll", false},
               {0, nullptr, " ", false},
               {1, "junk", "", false},
               {2, "junk", "", true},
               {-1, nullptr, "", true}};
  for (const Case& c : cases) {
    fake::ResetProcessState();
    fake::Always("WFindFileUsingFileOpen", c.result);
    if (c.text) fake::QueueText("WFindFileUsingFileOpen.text", c.text);
    fake::Events(400, {"CONTINUE"});
    char buffer[32] = "previous";
    buffer[1] = '\0';
    auto code = fake::ExitCodeOf([&] { FindFileByOpening("f.dll", buffer, 32); });
    EXPECT_EQ(code.has_value(), c.fatal) << c.result;
    EXPECT_STREQ(buffer, c.expected) << c.result;
  }
}

TEST_F(WrapperReadTest, CopyListCostIsFatalOnlyWhenNegative) {
  for (long cost : {0L, 123456L, -1L}) {
    fake::ResetProcessState();
    fake::Always("LcbGetCopyListCost", cost);
    fake::Events(400, {"CONTINUE"});
    LONG got = 0;
    auto code = fake::ExitCodeOf([&] { got = MeasureCopyListCost("E", "C", "N"); });
    EXPECT_EQ(code.has_value(), cost < 0);
    if (cost >= 0) {
      EXPECT_EQ(got, cost);
    }
  }
}

TEST_F(WrapperReadTest, PassThroughsReturnTheAnswerUntested) {
  const std::pair<const char*, std::function<BOOL()>> cases[] = {
      {"FSetBeepingMode", [] { return SwitchBeeping(1); }},
      {"FSetSilent", [] { return SwitchSilentMode(1); }},
      {"FIsDirWritable", [] { return CanWriteDirectory("d"); }},
      {"FIsFileWritable", [] { return CanWriteFile("f"); }},
      {"FRestartListEmpty", [] { return IsRestartQueueEmpty(); }},
      {"FExitExecRestart", [] { return ExitAndRestart(); }}};
  for (const auto& c : cases) {
    for (long answer : {0L, 7L}) {
      fake::ResetProcessState();
      fake::Always(c.first, answer);
      BOOL got = -1;
      EXPECT_EQ(fake::ExitCodeOf([&] { got = c.second(); }), std::nullopt) << c.first;
      EXPECT_EQ(got, answer) << c.first;
    }
  }
}

}  // namespace
