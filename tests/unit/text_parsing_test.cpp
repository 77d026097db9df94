// Searching, splitting, trimming and padding ANSI strings, double-byte ones included.
#include <cstring>

#include "support/text_parsing.h"
#include "tests/fakes/process_state.h"

namespace {

using TextParsingTest = SetupTest;

// 0x81 starts a double-byte character in these tests.
void UseLeadByte0x81() { fake::machine.leadBytes = {0x81}; }

TEST_F(TextParsingTest, SubstringPositionsCountCharactersFromTheStart) {
  struct Case {
    int start;
    const char* text;
    const char* pattern;
    int position;
  } cases[] = {{1, "abcabc", "bc", 2}, {3, "abcabc", "bc", 5}, {0, "abcabc", "a", 0},
               {7, "abcabc", "c", 0},  {-5, "abc", "a", 1},    {2, "abc", "", 2},
               {4, "abc", "", 0},      {1, "abc", "abcd", 0},  {2147483647, "abc", "a", 0},
               // A double-byte character is one position; only whole characters match.
               {1, "\x81" "ab", "b", 2}, {2, "\x81" "abc", "c", 3},
               {1, "\x81" "a\x81" "b", "\x81" "b", 2}};
  UseLeadByte0x81();
  for (const Case& c : cases) {
    EXPECT_EQ(FindSubstringPos(c.start, c.text, c.pattern), c.position)
        << c.start << " " << c.text << " " << c.pattern;
  }
}

TEST_F(TextParsingTest, FindCharSkipsTrailBytes) {
  UseLeadByte0x81();
  const char text[] = "\x81" "\\a\\";
  EXPECT_EQ(FindChar(text, '\\'), text + 3);
  EXPECT_EQ(FindChar(text, 0x100 + 'a'), text + 2);  // only the low byte counts
  EXPECT_EQ(FindChar(text, 0), nullptr);
  EXPECT_EQ(FindChar("abc", 'z'), nullptr);
}

TEST_F(TextParsingTest, CommaFieldsKeepTrailingBlanksAndLeaveTheListAsItWas) {
  struct Case {
    const char* list;
    int n;
    const char* field;
  } cases[] = {{"a, b ,c", 1, "a"}, {"a, b ,c", 2, "b "}, {"a, b ,c", 3, "c"},
               {"a, b ,c", 4, ""},  {"a,,c", 2, ""},      {"\t x,y", 1, "x"},
               {"", 1, ""},         {"a,", 2, ""},
               // A trail byte that looks like a comma does not end the field.
               {"\x81,b,c", 1, "\x81,b"}, {"\x81,b,c", 2, "c"}};
  UseLeadByte0x81();
  for (const Case& c : cases) {
    char list[32];
    std::strcpy(list, c.list);
    char buffer[32];
    EXPECT_EQ(GetNthCommaField(list, c.n, buffer, 31), buffer);
    EXPECT_STREQ(buffer, c.field) << c.list << " #" << c.n;
    EXPECT_STREQ(list, c.list);
  }
}

TEST_F(TextParsingTest, CommaFieldNumberBelowOneEndsTheProgramWithoutABox) {
  fake::Events(400, {"CONTINUE"});
  char list[] = "a,b";
  char buffer[8];
  EXPECT_EQ(fake::ExitCodeOf([&] { GetNthCommaField(list, 0, buffer, 7); }), 0);
  EXPECT_EQ(fake::CountCalls("DoMsgBox"), 0);
}

TEST_F(TextParsingTest, CommaFieldLongerThanTheSizeOverflowsWithoutWriting) {
  fake::Events(400, {"CONTINUE"});
  char list[] = "abcd,e";
  char buffer[8] = "xxxxxxx";
  EXPECT_EQ(fake::ExitCodeOf([&] { GetNthCommaField(list, 1, buffer, 3); }), 0);
  EXPECT_EQ(fake::CallsTo({"DoMsgBox"}),
            (std::vector<std::string>{"DoMsgBox(\"Buffer Overflow\", \"MS-Setup Error\", 16)"}));
  EXPECT_STREQ(buffer, "xxxxxxx");
  // Exactly size characters fit: the buffer holds size + 1 bytes.
  EXPECT_STREQ(GetNthCommaField(list, 1, buffer, 4), "abcd");
}

TEST_F(TextParsingTest, TrailingBlanksAreCutButNotTabsOrTrailBytes) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {{"ab  ", "ab"},         {"\t ", "\t"},   {"   ", ""}, {"a b", "a b"},
               {"", ""},               {"a \tb ", "a \tb"},
               {"a\x81 ", "a\x81 "},   {"a\x81  ", "a\x81 "}};
  UseLeadByte0x81();
  for (const Case& c : cases) {
    char text[16];
    std::strcpy(text, c.in);
    StripTrailingBlanks(text);
    EXPECT_STREQ(text, c.out) << "'" << c.in << "'";
  }
}

TEST_F(TextParsingTest, PaddedCopyWritesExactlyNBytes) {
  char out[8];
  std::memset(out, '#', sizeof out);
  CopyStringPadded(out, "ab", 5);
  EXPECT_EQ(std::memcmp(out, "ab\0\0\0##", 7), 0);

  std::memset(out, '#', sizeof out);
  EXPECT_EQ(CopyStringPadded(out, "abcdef", 4), out);
  EXPECT_EQ(std::memcmp(out, "abcd####", 8), 0);

  std::memset(out, '#', sizeof out);
  CopyStringPadded(out, "abc", 0);
  EXPECT_EQ(out[0], '#');
}

}  // namespace
