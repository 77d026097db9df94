// The wrapper family as a caller sees it: what reaches the toolkit for a given
// input, and which answers end the program, through which path.
#include <climits>
#include <tuple>

#include "tests/fakes/process_state.h"
#include "toolkit/setup_lifecycle.h"
#include "toolkit/wrappers.h"

namespace {

using Trace = std::vector<std::string>;

// A wrapper called with distinct sample arguments: what the caller gave (as
// the transcript writes it), the toolkit calls it made, what it returned.
struct Seen {
  Trace given;
  std::vector<fake::Call> calls;
  long long returned;
};

// Texts "a0", "a1"..., numbers 100, 101..., by place.
template <typename T>
T Sample(size_t* place, std::string* texts) {
  const size_t i = (*place)++;
  if constexpr (std::is_pointer_v<T>) {
    texts[i] = "a" + std::to_string(i);
    return texts[i].c_str();
  } else {
    return static_cast<T>(100 + i);
  }
}

template <typename R, typename... A>
Seen CallWithSamples(R (*wrapper)(A...)) {
  std::string texts[sizeof...(A) + 1];
  [[maybe_unused]] size_t place = 0;
  std::tuple<A...> args{Sample<A>(&place, texts)...};
  Seen seen{std::apply([](auto... a) { return Trace{fake::FormatAny(a)...}; }, args), {}, 0};
  fake::calls.clear();
  if constexpr (std::is_void_v<R>) {
    std::apply(wrapper, args);
  } else {
    seen.returned = std::apply(wrapper, args);
  }
  seen.calls = fake::calls;
  return seen;
}

enum class Ends { Returns, Fatal, Overflow };

// How a call ends: it returns, or the process exits with 0 after the error
// dialog, the "Buffer Overflow" box first when a text did not fit.
Ends Outcome(const std::function<void()>& body) {
  fake::Events(400, {"CONTINUE"});
  std::optional<int> code = fake::ExitCodeOf(body);
  if (!code) return Ends::Returns;
  EXPECT_EQ(*code, 0);
  EXPECT_EQ(FatalErrorShown, 1);
  Trace boxes = fake::CallsTo({"DoMsgBox"});
  if (boxes.empty()) return Ends::Fatal;
  EXPECT_EQ(boxes, Trace{"DoMsgBox(\"Buffer Overflow\", \"MS-Setup Error\", 16)"});
  return Ends::Overflow;
}

// A call the case writes out in full: no arguments given by the sampler.
std::function<Seen()> Written(void (*call)()) {
  return [call] {
    fake::calls.clear();
    call();
    return Seen{{}, fake::calls, 0};
  };
}

// The toolkit receives the caller's arguments in order, then what the wrapper
// completes or converts; the field numbers are those of the INF file record.
struct Forwarded {
  const char* wrapper;
  std::function<Seen()> call;
  Trace completed;
};
#define ROW(wrapper, ...) \
  Forwarded{#wrapper, [] { return CallWithSamples(wrapper); }, Trace{__VA_ARGS__}}
#define CALL(call, ...) Forwarded{#call, Written([] { call; }), Trace{__VA_ARGS__}}
const Forwarded kGuarded[] = {
    ROW(AppendListItem), ROW(OverwriteListItem), ROW(StoreSymbolValue), ROW(DeleteSymbol),
    ROW(MakeDirectory), ROW(DeleteDirectory), ROW(DeleteIniSection), ROW(WriteIniValue),
    ROW(DeleteIniKey), ROW(WriteSystemIniValue), ROW(MakeProgramGroup), ROW(MakeProgramGroupEx),
    ROW(StampFileResource), ROW(WriteCopyListToFile), ROW(EraseFile), ROW(QueueSectionKeyFile),
    ROW(QueueSpecialFile), ROW(DropAllBillboards), ROW(OpenSetupLog), ROW(CloseSetupLog),
    ROW(ChooseRestartDirectory), ROW(PrependPathEntry),
    ROW(FillSymbolWithSectionKeys, "1"),  // keys kept in their INF order
    ROW(CollectDiskNames, "1"), ROW(CollectInstallNames, "2"), ROW(CollectDescriptions, "5"),
    ROW(CollectFileFlags, "15"), ROW(CollectFileVersions, "19"),
    ROW(SaveFileBackup, "0"), ROW(WriteSetupLog, "1"),
    // Copies always overwrite (2); the show command travels as decimal text; an
    // extra text joins the item after a comma.
    CALL(CopySingleFile("a", "b", 0, 0), "\"a\"", "\"b\"", "2", "0"),
    CALL(CopySingleFile("a", "b", 5, 1), "\"a\"", "\"b\"", "7", "1"),
    CALL(DisplayProgramGroup("G", -5, 0), "\"G\"", "\"-5\"", "0"),
    CALL(DisplayProgramGroup("G", INT_MIN, 1), "\"G\"", "\"-2147483648\"", "1"),
    CALL(DisplayProgramGroupEx("G", "p", INT_MAX, 0), "\"G\"", "\"p\"", "\"2147483647\"", "0"),
    CALL(MakeProgramItem("G", "Item", "c", "icon", 0), "\"G\"", "\"Item,icon\"", "\"c\"", "0"),
    CALL(MakeProgramItem("G", "Item", "c", "", 0), "\"G\"", "\"Item\"", "\"c\"", "0"),
    CALL(MakeProgramItem("G", "Item", "c", nullptr, 0), "\"G\"", "\"Item\"", "\"c\"", "0"),
    CALL(MakeProgramItemEx("G", "p", "Item", "c", "x", 3), "\"G\"", "\"p\"", "\"Item,x\"",
         "\"c\"", "3"),
    CALL(AddBlankBillboard(9), "NULL", "0", "NULL", "9")};
const Forwarded kPassThroughs[] = {ROW(SwitchBeeping), ROW(SwitchSilentMode),
                                   ROW(CanWriteDirectory), ROW(CanWriteFile),
                                   ROW(IsRestartQueueEmpty), ROW(ExitAndRestart)};
#undef ROW
#undef CALL

using WrapperTest = SetupTest;

TEST_F(WrapperTest, GuardedCallsForwardOnceAndEndTheProgramOnAZeroAnswer) {
  for (const Forwarded& row : kGuarded) {
    fake::ResetProcessState();
    Seen seen = row.call();
    ASSERT_EQ(seen.calls.size(), 1u) << row.wrapper;
    Trace expected = seen.given;
    expected.insert(expected.end(), row.completed.begin(), row.completed.end());
    EXPECT_EQ(seen.calls[0].args, expected) << row.wrapper;

    fake::ResetProcessState();
    fake::Always(seen.calls[0].name, 0);
    EXPECT_EQ(Outcome([&] { row.call(); }), Ends::Fatal) << row.wrapper;
  }
}

TEST_F(WrapperTest, PassThroughsForwardAndReturnAnyAnswerWithoutEndingTheProgram) {
  for (const Forwarded& row : kPassThroughs) {
    for (long answer : {0L, 7L}) {
      fake::ResetProcessState();
      const std::string op = row.call().calls.at(0).name;
      fake::ResetProcessState();
      fake::Always(op, answer);
      Seen seen{};
      EXPECT_EQ(Outcome([&] { seen = row.call(); }), Ends::Returns) << row.wrapper;
      EXPECT_EQ(seen.calls.at(0).args, seen.given) << row.wrapper;
      EXPECT_EQ(seen.returned, answer) << row.wrapper;
    }
  }
}

TEST_F(WrapperTest, ProgramItemTooLongToJoinIsAnOverflowBeforeTheToolkit) {
  const std::string item(1000, 'i');
  EXPECT_EQ(Outcome([&] { MakeProgramItem("G", item.c_str(), "c", "icon", 0); }), Ends::Overflow);
  EXPECT_EQ(fake::CountCalls("FCreateProgManItem"), 0);
}

// An index outside the list, or an unnamed list, never reaches the read; an
// item that fills the caller's buffer is an overflow, not a cut item.
TEST_F(WrapperTest, ListItemReadsAreCheckedAgainstTheListAndTheBuffer) {
  struct Case {
    const char* list;
    int index;
    Ends ends;
    const char* item;  // what the caller's buffer holds afterwards
  } cases[] = {{"L", 0, Ends::Fatal, ""},      {"L", -1, Ends::Fatal, ""},
               {"L", 1, Ends::Returns, "one"}, {"L", 3, Ends::Returns, "fifteen chars.."},
               {"L", 4, Ends::Fatal, ""},      {"L", 2, Ends::Overflow, ""},
               {"", 1, Ends::Fatal, ""},       {nullptr, 1, Ends::Fatal, ""}};
  for (const Case& c : cases) {
    fake::ResetProcessState();
    fake::toolkit.lists["L"] = {"one", "sixteen chars..!", "fifteen chars.."};
    char buffer[16] = "";
    EXPECT_EQ(Outcome([&] { ReadListItem(c.list, c.index, buffer, 16); }), c.ends) << c.index;
    const bool named = c.list != nullptr && c.list[0] != '\0';
    const bool inRange = c.index >= 1 && c.index <= 3;
    EXPECT_EQ(fake::CountCalls("CbGetListItem"), named && inRange ? 1 : 0) << c.index;
    EXPECT_STREQ(buffer, c.item) << c.index;
  }
  fake::ResetProcessState();
  EXPECT_EQ(Outcome([] { CountListItems(""); }), Ends::Fatal);
  EXPECT_EQ(fake::CountCalls("UsGetListLength"), 0);
}

// Each reader asks for its field with the caller's buffer size; only -1
// means the field is missing.
TEST_F(WrapperTest, InfFieldReadsAreBoundedByTheCallersBuffer) {
  using Reader = LPSTR (*)(LPCSTR, LPCSTR, LPSTR, INT);
  const std::pair<Reader, const char*> readers[] = {
      {ReadInfField1, "1"}, {ReadInfField5, "5"}, {ReadInfField19, "19"}};
  const std::pair<long, Ends> answers[] = {{5, Ends::Returns},   {15, Ends::Returns},
                                           {16, Ends::Overflow}, {-1, Ends::Fatal},
                                           {-2, Ends::Returns}};
  for (const auto& reader : readers) {
    for (const auto& answer : answers) {
      fake::ResetProcessState();
      fake::Queue("CbGetInfSectionKeyField", {answer.first});
      char buffer[16];
      EXPECT_EQ(Outcome([&] { reader.first("S", "K", buffer, 16); }), answer.second)
          << reader.second << " " << answer.first;
      EXPECT_EQ(fake::calls.at(0).args, (Trace{"\"S\"", "\"K\"", reader.second, "16"}));
    }
  }
}

TEST_F(WrapperTest, Field15IsReadAsADecimalNumber) {
  const std::pair<const char*, INT> cases[] = {
      {"  -42abc", -42}, {"x12", 0}, {"", 0}, {"+7", 7}, {"\t 99 ", 99},
      {"-", 0},          {"2147483647", 2147483647}, {"99999999999999999999", 2147483647},
      {"-2147483648", -2147483647 - 1}};
  for (const auto& c : cases) {
    fake::ResetProcessState();
    fake::QueueText("CbGetInfSectionKeyField", c.first);
    EXPECT_EQ(ReadInfField15Number("S", "K"), c.second) << "\"" << c.first << "\"";
    EXPECT_EQ(fake::calls.at(0).args[2], "15");
  }
  fake::ResetProcessState();
  fake::QueueText("CbGetInfSectionKeyField", std::string(1000, '1'));
  EXPECT_EQ(Outcome([] { ReadInfField15Number("S", "K"); }), Ends::Overflow);
}

TEST_F(WrapperTest, FindFileByOpeningLeavesAPathOrAnEmptyText) {
  struct Case {
    long result;
    const char* text;  // what the toolkit writes, or null for nothing
    const char* expected;
    Ends ends;
  } cases[] = {{0, "C:\\found.dll", "C:\\found.dll", Ends::Returns},
               {0, nullptr, " ", Ends::Returns},
               {1, "junk", "", Ends::Returns},
               {2, "junk", "", Ends::Fatal},
               {-1, nullptr, "", Ends::Fatal}};
  for (const Case& c : cases) {
    fake::ResetProcessState();
    fake::Always("WFindFileUsingFileOpen", c.result);
    if (c.text) fake::QueueText("WFindFileUsingFileOpen.text", c.text);
    char buffer[32] = "p";
    EXPECT_EQ(Outcome([&] { FindFileByOpening("f.dll", buffer, 32); }), c.ends) << c.result;
    EXPECT_STREQ(buffer, c.expected) << c.result;
  }
}

TEST_F(WrapperTest, CopyListCostIsFatalOnlyWhenNegative) {
  for (long cost : {0L, 123456L, -1L}) {
    fake::ResetProcessState();
    fake::Always("LcbGetCopyListCost", cost);
    LONG got = -7;
    EXPECT_EQ(Outcome([&] { got = MeasureCopyListCost("E", "C", "N"); }),
              cost < 0 ? Ends::Fatal : Ends::Returns);
    EXPECT_EQ(got, cost < 0 ? -7 : cost);
  }
}

}  // namespace
