// Dialog calls, the message pump, symbol reads and the event-sum rule.
#include <cstring>

#include "tests/fakes/process_state.h"
#include "toolkit/dialogs.h"
#include "toolkit/setup_lifecycle.h"

namespace {

using DialogsTest = SetupTest;

struct SumCase {
  const char* word;
  UINT sum;
};

TEST(EventSumTest, SignedByteCodesOfTheFirstTwoCharacters) {
  const SumCase cases[] = {
      {"CANCEL", 132},  {"CONTINUE", 146}, {"EXIT", 157},  {"RESTART", 151},
      {"CA", 132},      {"COx", 146},      {"A", 65},      {"\x84", 0xFF84},  // -124
      {"\x80\x80", 0xFF00},  // -256
      {"\xFF\x01", 0},  // -1 + 1
      {"", 0},
  };
  for (const SumCase& c : cases) {
    char buffer[16] = {0};
    std::strncpy(buffer, c.word, 15);
    EXPECT_EQ(EventSum(buffer), c.sum) << "word \"" << c.word << "\"";
  }
}

TEST_F(DialogsTest, RunDialogShowsPumpsThenReadsTheEvent) {
  fake::Events(100, {"CONTINUE"});
  fake::PostMessage(0x0113);  // WM_TIMER
  char event[16] = {0};
  RunDialog("mscuistf.dll", 100, "FInfoDlgProc", event, 15);
  EXPECT_STREQ(event, "CONTINUE");
  EXPECT_EQ(fake::CallsTo({"FDoDialogExt", "PeekMessageA", "TranslateMessage",
                           "DispatchMessageA", "CbGetSymbolValue"}),
            (std::vector<std::string>{
                "FDoDialogExt(0xf00, \"mscuistf.dll\", 100, \"FInfoDlgProc\", \"mscuistf.dll\", 0, 0)",
                "PeekMessageA(275)", "TranslateMessage(275)", "DispatchMessageA(275)",
                "CbGetSymbolValue(\"DLGEVENT\", 15)"}));
}

TEST_F(DialogsTest, RunDialogExNamesItsOwnProcedureLibrary) {
  fake::Events(7, {"CONTINUE"});
  char event[16] = {0};
  RunDialogEx("a.dll", 7, "Proc", "b.dll", 3, 4, event, 15);
  EXPECT_EQ(fake::CallsTo({"FDoDialogExt"}),
            (std::vector<std::string>{
                "FDoDialogExt(0xf00, \"a.dll\", 7, \"Proc\", \"b.dll\", 3, 4)"}));
}

TEST_F(DialogsTest, QuitMessageInThePumpIsFatalAndNotDispatched) {
  fake::Events(400, {"CONTINUE"});
  fake::PostMessage(WM_QUIT);
  EXPECT_EQ(fake::ExitCodeOf([] { PumpMessages(); }), 0);
  EXPECT_EQ(fake::CountCalls("DispatchMessageA"), 0);
  EXPECT_EQ(fake::CountCalls("TerminateFrame"), 1);
}

TEST_F(DialogsTest, QuitPostedWhileADialogIsOpenEndsTheProgram) {
  fake::Events(100, {"CONTINUE"});
  fake::Events(400, {"CONTINUE"});
  fake::toolkit.onDialog = [](unsigned id) {
    if (id == 100) fake::PostMessage(WM_QUIT);
  };
  char event[16] = {0};
  EXPECT_EQ(fake::ExitCodeOf([&] { RunDialog("mscuistf.dll", 100, "P", event, 15); }), 0);
  EXPECT_EQ(fake::CallsTo({"FDoDialogExt"}).size(), 2u);  // 100, then the error dialog once
  EXPECT_EQ(fake::CountCalls("CbGetSymbolValue"), 1);     // 100's word was never read
}

TEST_F(DialogsTest, CloseDialogsPassesTheCountAndAllMeansMinusOne) {
  CloseDialogs(1);
  CloseAllDialogs();
  EXPECT_EQ(fake::CallsTo({"FKillNDialogs"}),
            (std::vector<std::string>{"FKillNDialogs(1)", "FKillNDialogs(-1)"}));
}

struct SymbolCase {
  const char* name;
  size_t length;
  bool fatal;
};

TEST_F(DialogsTest, SymbolOfSizeCharactersOrMoreIsAnOverflow) {
  const SymbolCase cases[] = {{"Fits", 14, false}, {"ExactlySize", 15, true}, {"Longer", 40, true}};
  for (const SymbolCase& c : cases) {
    fake::ResetProcessState();
    fake::SetSymbol("DLGEVENT", std::string(c.length, 'C'));
    fake::Events(400, {"CONTINUE"});
    char buffer[16] = {0};
    auto code = fake::ExitCodeOf([&] { ReadSymbolValue("DLGEVENT", buffer, 15); });
    EXPECT_EQ(code.has_value(), c.fatal) << c.name;
    EXPECT_EQ(fake::CountCalls("DoMsgBox"), c.fatal ? 1 : 0) << c.name;
    if (!c.fatal) {
      EXPECT_EQ(std::string(buffer), std::string(c.length, 'C'));
    }
  }
}

TEST_F(DialogsTest, EmptyOrNullSymbolNameNeverReachesTheToolkit) {
  fake::Events(400, {"CONTINUE", "CONTINUE"});
  char buffer[16];
  for (const char* name : {static_cast<const char*>(nullptr), ""}) {
    fake::ResetProcessState();
    fake::Events(400, {"CONTINUE"});
    EXPECT_EQ(fake::ExitCodeOf([&] { ReadSymbolValue(name, buffer, 15); }), 0);
    EXPECT_EQ(fake::CountCalls("CbGetSymbolValue"), 1);  // the error dialog's own read only
    EXPECT_EQ(fake::CountCalls("DoMsgBox"), 0);
  }
}

}  // namespace
