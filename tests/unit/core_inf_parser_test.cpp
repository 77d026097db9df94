#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "inf_parser.h"

namespace stf {
namespace {

using Fields = std::vector<std::string>;

// Shift-JIS style lead bytes.
bool SjisLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// A code page of the first 256 characters; the others become '?'.
bool Latin1(const char16_t* text, std::size_t length, std::string* out) {
  out->clear();
  for (std::size_t i = 0; i < length; ++i) {
    out->push_back(text[i] < 0x100 ? static_cast<char>(text[i]) : '?');
  }
  return true;
}

InfFile ParseOk(const std::string& text, LeadBytePredicate isLead = nullptr) {
  InfFile inf;
  InfError err;
  EXPECT_TRUE(ParseInfText(text.data(), text.size(), "t.inf", &inf, &err, isLead)) << err.Text();
  return inf;
}

InfError ParseBad(const std::string& text) {
  InfFile inf;
  InfError err;
  EXPECT_FALSE(ParseInfText(text.data(), text.size(), "t.inf", &inf, &err));
  EXPECT_TRUE(inf.sections.empty());
  return err;
}

Fields F(const InfFile& inf, const InfLine& line) {
  Fields fields;
  std::string field;
  for (int i = 0; GetField(inf, line, i, &field); ++i) fields.push_back(field);
  return fields;
}

// Fields of the only line of section [S].
Fields OneLine(const std::string& body) {
  const InfFile inf = ParseOk("[S]\n" + body + "\n");
  const InfSection* s = FindSection(inf, "S");
  if (s == nullptr || s->lines.size() != 1) return {"<not one line>"};
  return F(inf, s->lines[0]);
}

TEST(InfParser, LinesKeysAndLineNumbers) {
  const InfFile inf = ParseOk(
      "; heading comment\n"
      "[System Files]\n"
      "mlxidecd = mlxidecd.SYS\n"
      "\n"
      "  keyless.sys , second\n"
      "[Other]\n"
      "a = b = c\n");
  ASSERT_EQ(inf.sections.size(), 2u);
  const InfSection& files = inf.sections[0];
  EXPECT_EQ(files.name, "System Files");
  EXPECT_EQ(files.line, 2);
  ASSERT_EQ(files.lines.size(), 2u);
  EXPECT_EQ(LineKey(inf, files.lines[0]), "mlxidecd");
  EXPECT_EQ(F(inf, files.lines[0]), (Fields{"mlxidecd", "mlxidecd.SYS"}));
  EXPECT_EQ(files.lines[0].line, 3);
  EXPECT_EQ(LineKey(inf, files.lines[1]), "");
  EXPECT_EQ(F(inf, files.lines[1]), (Fields{"", "keyless.sys", "second"}));
  EXPECT_EQ(files.lines[1].line, 5);
  // Only the first '=' separates the key.
  EXPECT_EQ(F(inf, inf.sections[1].lines[0]), (Fields{"a", "b = c"}));
}

TEST(InfParser, FieldSplittingAndQuotes) {
  struct Case {
    const char* line;
    Fields fields;
  } cases[] = {
      {"k = a, b ,c", {"k", "a", "b", "c"}},
      {"k = a,,", {"k", "a", "", ""}},
      {"k =", {"k", ""}},
      {"k = in  side", {"k", "in  side"}},
      {"k = \"a, b; c\"", {"k", "a, b; c"}},
      {"k = \"  padded  \"", {"k", "  padded  "}},
      {"k = \"say \"\"hi\"\"\"", {"k", "say \"hi\""}},
      {"k = \"\"", {"k", ""}},
      {"k = \"\"\"\"", {"k", "\""}},
      {"k = ab\"c,d\"ef", {"k", "abc,def"}},
      {"k = \"a=b\", c=d", {"k", "a=b", "c=d"}},
      {"\"my key\" = v", {"my key", "v"}},
      {"a, b = c", {"", "a", "b = c"}},
      {"k = \"C:\\dir\\\"", {"k", "C:\\dir\\"}},
      {"k = \"x\" ; \"comment, with quote", {"k", "x"}},
      {"\tk\t=\tv\t", {"k", "v"}},
  };
  for (const Case& c : cases) EXPECT_EQ(OneLine(c.line), c.fields) << c.line;
}

TEST(InfParser, CommentsAndContinuation) {
  const InfFile inf = ParseOk(
      "[S] ; comment after header\n"
      "; whole-line comment\n"
      "list = a, \\\n"
      "       b, \\   ; comment after the backslash\n"
      "       c\n"
      "path = C:\\dir\\file ; backslash inside a value is text\n"
      "quoted = \"ends with \\\"\n"
      "joined = ab\\\n"
      "cd\n"
      "bracket = \\\n"
      "  [not a header]\n");
  const InfSection* s = FindSection(inf, "S");
  ASSERT_NE(s, nullptr);
  ASSERT_EQ(s->lines.size(), 5u);
  EXPECT_EQ(F(inf, s->lines[0]), (Fields{"list", "a", "b", "c"}));
  EXPECT_EQ(s->lines[0].line, 3);
  EXPECT_EQ(F(inf, s->lines[1]), (Fields{"path", "C:\\dir\\file"}));
  EXPECT_EQ(s->lines[1].line, 6);
  EXPECT_EQ(F(inf, s->lines[2]), (Fields{"quoted", "ends with \\"}));
  EXPECT_EQ(F(inf, s->lines[3]), (Fields{"joined", "abcd"}));
  // A continued line's next line is text even when it looks like a header.
  EXPECT_EQ(F(inf, s->lines[4]), (Fields{"bracket", "[not a header]"}));
}

TEST(InfParser, StringsSubstitution) {
  const InfFile inf = ParseOk(
      "[S]\n"
      "desc = %Product% driver\n"
      "percent = 100%% sure\n"
      "unknown = %Nobody% stays, 50% lone\n"
      "quoted = \"%PRODUCT%\"\n"
      "comma = %Comma%\n"
      "%KeyName% = x\n"
      "[strings]\n"
      "product = \"Merlox CD-ROM\"\n"
      "Comma = \"a, b\"\n"
      "KeyName = real\n"
      "Raw = \"100%%\"\n"
      "product = second definition loses\n");
  const InfSection* s = FindSection(inf, "S");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(F(inf, s->lines[0])[1], "Merlox CD-ROM driver");
  EXPECT_EQ(F(inf, s->lines[1])[1], "100% sure");
  EXPECT_EQ(F(inf, s->lines[2]), (Fields{"unknown", "%Nobody% stays", "50% lone"}));
  EXPECT_EQ(F(inf, s->lines[3])[1], "Merlox CD-ROM");
  EXPECT_EQ(F(inf, s->lines[4]), (Fields{"comma", "a, b"}));  // still one field
  EXPECT_EQ(LineKey(inf, s->lines[5]), "real");
  EXPECT_EQ(F(inf, s->lines[5])[0], "real");
  // [Strings] itself is kept as written.
  const InfLine* raw = FindLine(inf, *FindSection(inf, "Strings"), "raw");
  ASSERT_NE(raw, nullptr);
  EXPECT_EQ(F(inf, *raw)[1], "100%%");
}

TEST(InfParser, NamesIgnoreCaseAndSectionsMerge) {
  const InfFile inf = ParseOk(
      "[Files]\n"
      "One = 1\n"
      "[other]\n"
      "x = y\n"
      "[FILES]\n"
      "two = 2\n"
      "one = duplicate key\n");
  ASSERT_EQ(inf.sections.size(), 2u);
  const InfSection* files = FindSection(inf, "fIlEs");
  ASSERT_NE(files, nullptr);
  EXPECT_EQ(files->name, "Files");
  ASSERT_EQ(files->lines.size(), 3u);
  EXPECT_EQ(LineKey(inf, files->lines[1]), "two");
  EXPECT_EQ(files->lines[1].line, 6);
  const InfLine* one = FindLine(inf, *files, "ONE");
  ASSERT_NE(one, nullptr);
  EXPECT_EQ(F(inf, *one)[1], "1");  // the first line with the key
  EXPECT_EQ(FindSection(inf, "Missing"), nullptr);
  EXPECT_EQ(FindLine(inf, *files, "three"), nullptr);

  std::string field;
  EXPECT_TRUE(GetField(inf, *one, 0, &field));
  EXPECT_EQ(field, "One");
  EXPECT_TRUE(GetField(inf, *one, 1, &field));
  EXPECT_FALSE(GetField(inf, *one, 2, &field));
  EXPECT_FALSE(GetField(inf, *one, -1, &field));
}

TEST(InfParser, LineEndsAndEmptyFile) {
  const InfFile inf = ParseOk("[S]\r\nk = v\r\n\r\nlast = no newline");
  ASSERT_EQ(inf.sections.size(), 1u);
  ASSERT_EQ(inf.sections[0].lines.size(), 2u);
  EXPECT_EQ(F(inf, inf.sections[0].lines[0]), (Fields{"k", "v"}));
  EXPECT_EQ(inf.sections[0].lines[1].line, 4);
  EXPECT_EQ(inf.path, "t.inf");
  EXPECT_TRUE(ParseOk("").sections.empty());
  EXPECT_TRUE(ParseOk("; only a comment\n\n").sections.empty());
}

TEST(InfParser, MalformedInputNamesLine) {
  struct Case {
    std::string text;
    int line;
    const char* message;
  } cases[] = {
      {"[S]\nk = \"open\n", 2, "unterminated quoted field"},
      {"[S]\nk = \"a\"\"\n", 2, "unterminated quoted field"},
      {"[S]\nk = a, \\\n\"x\n", 3, "unterminated quoted field"},
      {"k = v\n[S]\n", 1, "line before any section header"},
      {"[S\nk = v\n", 1, "section header without closing ']'"},
      {"[S]\n[]\n", 2, "empty section name"},
      {"[S]\n[" + std::string(256, 'n') + "]\n", 2, "section name longer than 255"},
      {"[S] junk\n", 1, "unexpected text after section header"},
      {"[S]\n= v\n", 2, "missing key before '='"},
      {"[S]\nk = v, \\\n", 2, "line continuation at end of file"},
      {"[S]\na = \\\n\\\n", 3, "line continuation at end of file"},
      {std::string("[S]\nk = a\0b\n", 11), 2, "NUL byte in text"},
      {"[S]\n\nk = \x01\n", 3, "control byte 0x01 in text"},
      {"[S]\nk = a\rb\n", 2, "control byte 0x0D in text"},
      {"[S]\n; \x7F in a comment\n", 2, "control byte 0x7F in text"},
      {"[Strings]\nno name\n", 2, "string without a name in [Strings]"},
      {"[Strings]\nA = b, c\n", 2, "string 'A' has more than one value"},
  };
  for (const Case& c : cases) {
    const InfError err = ParseBad(c.text);
    EXPECT_EQ(err.file, "t.inf") << c.text;
    EXPECT_EQ(err.line, c.line) << c.text;
    EXPECT_NE(err.message.find(c.message), std::string::npos) << c.text << " -> " << err.message;
  }
  const InfError err = ParseBad("[S]\nk = \"open\n");
  EXPECT_EQ(err.Text(), "t.inf(2): unterminated quoted field");
}

TEST(InfParser, SizeLimits) {
  std::string big = "[S]\n";
  big.resize(kInfMaxFileBytes + 1, ';');
  const InfError tooBig = ParseBad(big);
  EXPECT_EQ(tooBig.line, 0);
  EXPECT_EQ(tooBig.Text(), "t.inf: file is larger than 67108864 bytes");

  std::string lines = "[S]\n";
  for (std::size_t i = 0; i <= kInfMaxLines; ++i) lines += "a\n";
  EXPECT_EQ(ParseBad(lines).line, static_cast<int>(kInfMaxLines) + 2);

  // Substitution cannot blow a small file up without bound: keys are
  // substituted as the file is read (values only when read).
  std::string expand = "[Strings]\nbig = " + std::string(4000, 'z') + "\n[S]\n";
  for (int i = 0; i < 2000; ++i) expand += "%big% = v\n";
  const InfError blown = ParseBad(expand);
  EXPECT_GT(blown.line, 4);
  EXPECT_NE(blown.message.find("after string substitution"), std::string::npos);
}

// Lines of any length and any number of fields, as Windows reads them; a
// field keeps its first 4,096 characters, as in Windows.
TEST(InfParser, LongLinesAndFields) {
  std::string many = "HKLM,\"Key\",\"Bin\",0x00000001";
  for (int i = 0; i < 996; ++i) many += ",0" + std::to_string(i % 10);
  const Fields thousand = OneLine(many);
  ASSERT_EQ(thousand.size(), 1001u);  // a key-less line: the key is empty
  EXPECT_EQ(thousand[1], "HKLM");
  EXPECT_EQ(thousand[1000], "05");

  // 20,000 characters over 200 continued lines; a physical line as long.
  std::string continued = "[S]\nk = ";
  for (int i = 0; i < 200; ++i) continued += std::string(95, 'a' + i % 26) + "  \\\n   ";
  continued += "end\n";
  const InfFile joined = ParseOk(continued);
  const Fields one = F(joined, joined.sections[0].lines[0]);
  ASSERT_EQ(one.size(), 2u);
  EXPECT_EQ(one[1].size(), 4096u);  // one field of 19,003: cut as Windows cuts it
  EXPECT_EQ(one[1].substr(0, 96), std::string(95, 'a') + "b");
  EXPECT_EQ(joined.cutLine, 2);
  EXPECT_EQ(OneLine("k = " + std::string(20000, 'x') + ", y")[2], "y");

  struct Case {
    std::string value;  // of "k = "
    std::size_t keptBytes, cutFields;
    LeadBytePredicate isLead;
  } cases[] = {
      {std::string(4096, 'x'), 4096, 0, nullptr},
      {std::string(4097, 'x'), 4096, 1, nullptr},
      {"\"" + std::string(5000, ' ') + "\"", 4096, 1, nullptr},  // quoted blanks count
      {std::string(4095, 'x') + "\x95\x5C" "tail", 4097, 1, SjisLead},  // a character stays whole
      {std::string(3000, 'x') + "%big%", 4096, 0, nullptr},  // also once the string is replaced
  };
  for (const Case& c : cases) {
    const InfFile inf =
        ParseOk("[S]\nk = " + c.value + "\n[Strings]\nbig = " + std::string(2000, 'z') + "\n",
                c.isLead);
    const Fields fields = F(inf, inf.sections[0].lines[0]);
    ASSERT_EQ(fields.size(), 2u);
    EXPECT_EQ(fields[1].size(), c.keptBytes) << c.value.size();
    EXPECT_EQ(inf.cutFields, c.cutFields) << c.value.size();
  }
}

// %10% and the other directory ids, where [Strings] does not name them.
int shellAsked = 0;
TEST(InfParser, DirectoryIds) {
  InfSystemDirs system;
  system.infDirectory = "D:\\disk\\";
  system.windows = "C:\\WINNT";
  system.system = "C:\\WINNT\\system32";
  system.systemRoot = "D:\\";  // Windows on D:, started from C:
  system.bootRoot = "C:\\";
  system.shellFolder = [](int csidl, std::string* path) {
    *path = csidl == 0x26 ? "C:\\Program Files" : "";
    ++shellAsked;
    return csidl == 0x26;
  };
  const InfDirectoryIds dirs = MakeInfDirectoryIds(system);
  struct Case {
    const char* value;
    const char* expected;
  } cases[] = {
      {"%10%", "C:\\WINNT"},
      {"%11%\\mlxidecd.dll", "C:\\WINNT\\system32\\mlxidecd.dll"},
      {"%12%\\x.sys", "C:\\WINNT\\system32\\drivers\\x.sys"},
      {"\"%01%\"", "D:\\disk\\"},
      {"%01%\\x.sys", "D:\\disk\\x.sys"},
      {"%17%;%18%", "C:\\WINNT\\inf"},
      {"%24%", "D:\\"},
      {"%24%\\fred", "D:\\fred"},    // the root's backslash is not doubled
      {"%24%\\\\fred", "D:\\\\fred"},  // but one written twice stays
      {"%30%x", "C:\\x"},             // the boot drive's root
      {"%0000000011%", "%0000000011%"},  // ten digits are no id
      {"%-99999999999999999999%", "%-99999999999999999999%"},
      {"%010%", "C:\\WINNT"},
      {"%-1%C:\\abs", "C:\\abs"},
      {"%16422%\\Merlox", "C:\\Program Files\\Merlox"},
      {"%mine%", "from strings"},     // [Strings] wins over a directory id
      {"%20%", "defined too"},
      {"%99%\\x", "%99%\\x"},         // unknown: as written
      {"%16423%", "%16423%"},         // a shell folder this Windows lacks
      {"%16640%", "%16640%"},         // past the shell folders
      {"%1O%", "%1O%"},
      {"%1 0%", "%1 0%"},
      {"%%10%%", "%10%"},
  };
  const std::string strings = "\n[Strings]\nmine = \"from strings\"\n20 = \"defined too\"\n";
  for (const Case& c : cases) {
    const std::string text = std::string("[S]\nk = ") + c.value + strings;
    InfFile inf;
    InfError err;
    ASSERT_TRUE(ParseInfText(text.data(), text.size(), "t.inf", &inf, &err, nullptr, &dirs));
    EXPECT_EQ(F(inf, inf.sections[0].lines[0])[1], c.expected) << c.value;
  }
  EXPECT_EQ(shellAsked, 2);  // only for the ids used: the shell is slow
  // Keys too, so that a line is found by the directory.
  const std::string keyed = "[S]\n%11%\\a.dll = v\n";
  InfFile inf;
  InfError err;
  ASSERT_TRUE(ParseInfText(keyed.data(), keyed.size(), "t.inf", &inf, &err, nullptr, &dirs));
  EXPECT_NE(FindLine(inf, inf.sections[0], "c:\\winnt\\SYSTEM32\\a.dll"), nullptr);
  // Without a table every id stays as written.
  EXPECT_EQ(OneLine("k = %10%\\x")[1], "%10%\\x");

  // The rest follow from the few directories asked of the system.
  system.driverArch = "w32x86";
  system.userProfile = "C:\\WINNT\\Profiles\\admin";
  const InfDirectoryIds all = MakeInfDirectoryIds(system);
  EXPECT_EQ(all.ids.at(20), "C:\\WINNT\\fonts");
  EXPECT_EQ(all.ids.at(23), "C:\\WINNT\\system32\\spool\\drivers\\color");
  EXPECT_EQ(all.ids.at(52), "C:\\WINNT\\system32\\spool\\drivers\\w32x86");
  EXPECT_EQ(all.ids.at(53), "C:\\WINNT\\Profiles\\admin");
  EXPECT_EQ(all.ids.at(55), "C:\\WINNT\\system32\\spool\\prtprocs\\w32x86");
  EXPECT_EQ(dirs.ids.count(52), 0u);  // no machine name for the spooler's folders
  EXPECT_EQ(MakeInfDirectoryIds(InfSystemDirs()).ids.count(10), 0u);
}

TEST(InfParser, DoubleByteTrailBytesAreText) {
  // 0x95 0x5C is one character whose trail byte is a backslash.
  const std::string name = "\x95\x5C";
  const InfFile inf = ParseOk("[\x95\x5D]\nk = " + name + "\nnext = v\n", SjisLead);
  ASSERT_EQ(inf.sections.size(), 1u);
  EXPECT_EQ(inf.sections[0].name, "\x95\x5D");  // trail ']' does not close the header
  ASSERT_EQ(inf.sections[0].lines.size(), 2u);
  EXPECT_EQ(F(inf, inf.sections[0].lines[0])[1], name);
  EXPECT_EQ(LineKey(inf, inf.sections[0].lines[1]), "next");

  // Without the lead-byte test the same bytes do end in a continuation.
  const InfFile single = ParseOk("[S]\nk = " + name + "\nnext = v\n");
  ASSERT_EQ(single.sections[0].lines.size(), 1u);

  // High bytes never split a field.
  EXPECT_EQ(OneLine("k = \x82\xA0\xE9, \xFF"), (Fields{"k", "\x82\xA0\xE9", "\xFF"}));
}

// Read as Windows' own INF reader reads the same text. Where Windows reads
// a line that the syntax refuses (see inf_parser.h), the refusal stands.
TEST(InfParser, ReadsAsWindowsReads) {
  struct Case {
    const char* line;
    Fields fields;  // the key first
  } cases[] = {
      // One value and no '=': the value is the key too.
      {"ab", {"ab", "ab"}},
      {"ab,cd", {"", "ab", "cd"}},
      {"ab,cd=ef", {"", "ab", "cd=ef"}},
      {"Ab\"Cd=Ef\"", {"AbCd=Ef", "AbCd=Ef"}},
      {"ab\"\"\"cd,ef=gh\"", {"ab\"cd,ef=gh", "ab\"cd,ef=gh"}},
      {"Ab\"Cd\"=Ef", {"AbCd", "Ef"}},
      {"ab\"\"cd=ef,gh", {"abcd", "ef", "gh"}},
      {"HKLM,A,B,'C',D", {"", "HKLM", "A", "B", "'C'", "D"}},
      {",=,,b", {"", "", "=", "", "b"}},
      // Continuations: blanks before the backslash and at the start of the
      // next line go; backslashes and blanks to the line's end are one.
      {"ba\\\ncd=ef", {"bacd", "ef"}},
      {"ab  \\  \ncd=ef", {"abcd", "ef"}},
      {"ab  \\ ;cc\ncd=ef", {"abcd", "ef"}},
      {"ab \\ \\ \ncd=ef", {"abcd", "ef"}},
      {"ba \\\\ \nc=d", {"bac", "d"}},
      {"ba=c \\ \n \\ \n a", {"ba", "ca"}},
      {"ba=c \\ \n \\ a", {"ba", "c\\ a"}},
      {"ab\\\ncd,ef", {"", "abcd", "ef"}},
      {"ba \\ dc=xx", {"ba \\ dc", "xx"}},
      {"  \\ a= \\ b", {"\\ a", "\\ b"}},
      {"a=\"x\" \\\n\"y\"", {"a", "xy"}},
      // ^Z ends the file, even inside a line.
      {"ab=c\x1A" "d", {"ab", "c"}},
      {"ab\x1A=cd", {"ab", "ab"}},
      // Strings: quotes go before the name is looked up.
      {"%f\"o\"o%=x", {"aaa", "x"}},
      {"%% %foo%=%bar%yy", {"% aaa", "bbbyy"}},
      {"%per%%cent%=100", {"12", "100"}},
      {"abc=%bar;comment%", {"abc", "%bar"}},
      {"loop=%loop%", {"loop", "%loop2%"}},
  };
  for (const Case& c : cases) {
    const std::string text = std::string("[Test]\n") + c.line +
                             "\n[Strings]\nfoo=aaa\nbar=bbb\nloop=%loop2%\nloop2=%loop%\n"
                             "per=1\ncent=2\n";
    const InfFile inf = ParseOk(text);
    const InfSection* test = FindSection(inf, "test");
    ASSERT_NE(test, nullptr) << c.line;
    ASSERT_EQ(test->lines.size(), 1u) << c.line;
    EXPECT_EQ(F(inf, test->lines[0]), c.fields) << c.line;
    // Found by its key, as Windows finds it.
    if (!c.fields[0].empty()) {
      EXPECT_NE(FindLine(inf, *test, c.fields[0]), nullptr) << c.line;
    }
  }
  const char* headers[][2] = {
      {"[  Test Section  ]", "  Test Section  "}, {"   [Test[Section]  ", "Test[Section"},
      {"[[[]", "[["}, {"[Test;Section] ; c", "Test;Section"}, {"[Test\\ Section]", "Test\\ Section"},
      {"[TestSection] \x1A\ndummy", "TestSection"}, {"[TestSection] \n\x1A" "dummy", "TestSection"},
  };
  for (const auto& h : headers) {
    const InfFile inf = ParseOk(h[0]);
    ASSERT_EQ(inf.sections.size(), 1u) << h[0];
    EXPECT_EQ(inf.sections[0].name, h[1]);
  }
  EXPECT_EQ(FindSection(ParseOk("[ S ]\n"), "S"), nullptr);  // blanks are part of the name
}

// Every key of a long section is found, each by an index, not a scan.
TEST(InfParser, FindsEveryKeyOfALongSection) {
  std::string text = "[S]\n";
  for (int i = 0; i < 20000; ++i) text += "Key" + std::to_string(i) + " = " + std::to_string(i) + "\n";
  text += "key5 = second\n";  // the first line with a key wins
  const InfFile inf = ParseOk(text);
  const InfSection& s = inf.sections[0];
  for (int i = 0; i < 20000; i += 7) {
    const InfLine* line = FindLine(inf, s, "KEY" + std::to_string(i));
    ASSERT_NE(line, nullptr) << i;
    EXPECT_EQ(F(inf, *line)[1], std::to_string(i));
  }
  EXPECT_EQ(F(inf, *FindLine(inf, s, "key5"))[1], "5");
  EXPECT_EQ(FindLine(inf, s, "Key20000"), nullptr);
  EXPECT_EQ(FindLine(inf, s, "Ke"), nullptr);
}

class InfFileOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/core_inf_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    for (const std::string& file : files_) std::remove(file.c_str());
    rmdir(dir_.c_str());
  }
  std::string Write(const std::string& name, const std::string& data) {
    const std::string path = dir_ + "/" + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    EXPECT_NE(f, nullptr);
    std::fwrite(data.data(), 1, data.size(), f);
    std::fclose(f);
    files_.push_back(path);
    return path;
  }
  std::string dir_;
  std::vector<std::string> files_;
};

TEST_F(InfFileOnDisk, LoadsAndReportsByPath) {
  const std::string path = Write("setup.inf", "[S]\r\nk = v\r\n");
  InfFile inf;
  InfError err;
  ASSERT_TRUE(LoadInfFile(path, &inf, &err)) << err.Text();
  EXPECT_EQ(inf.path, path);
  EXPECT_EQ(F(inf, inf.sections[0].lines[0])[1], "v");

  const std::string bad = Write("bad.inf", "[S]\nk = \"x\n");
  EXPECT_FALSE(LoadInfFile(bad, &inf, &err));
  EXPECT_EQ(err.Text(), bad + "(2): unterminated quoted field");

  // Sparse: the size alone refuses it.
  const std::string large = Write("large.inf", "[S]\n");
  ASSERT_EQ(truncate(large.c_str(), kInfMaxFileBytes + 1), 0);
  EXPECT_FALSE(LoadInfFile(large, &inf, &err));
  EXPECT_NE(err.message.find("larger than"), std::string::npos);

  // UTF-16LE with its byte order mark, read through the converter.
  const std::string wide = Write("wide.inf", std::string("\xFF\xFE[\0S\0]\0\n\0k\0=\0\xE9\0", 16));
  ASSERT_TRUE(LoadInfFile(wide, &inf, &err, nullptr, Latin1)) << err.Text();
  EXPECT_EQ(F(inf, inf.sections[0].lines[0]), (Fields{"k", "\xE9"}));

  EXPECT_FALSE(LoadInfFile(dir_ + "/missing.inf", &inf, &err));
  EXPECT_EQ(err.file, dir_ + "/missing.inf");
  EXPECT_EQ(err.line, 0);
  EXPECT_NE(err.message.find("cannot open"), std::string::npos);
}

}  // namespace
}  // namespace stf

namespace stf {
namespace {

TEST(InfEncoding, ThreeEncodingsAndTheRest) {
  struct Case {
    std::string bytes;
    InfEncoding encoding;
    const char* text;  // after the conversion to Latin-1
  } cases[] = {
      {"[S]\nk=\xE9", InfEncoding::kAnsi, "[S]\nk=\xE9"},  // not valid UTF-8
      {"[S]\nk=\xC3\xA9", InfEncoding::kUtf8, "[S]\nk=\xE9"},
      {"\xEF\xBB\xBF[S]", InfEncoding::kUtf8, "[S]"},
      {"\xEF\xBB\xBFk=\xE2\x82\xAC", InfEncoding::kUtf8, "k=?"},  // the euro sign
      {std::string("\xFF\xFEk\0=\0\xAC\x20", 8), InfEncoding::kUtf16, "k=?"},
      {"plain", InfEncoding::kAnsi, "plain"},
      {"\xC0\x80", InfEncoding::kAnsi, "\xC0\x80"},  // an overlong form is no UTF-8
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DetectInfEncoding(c.bytes.data(), c.bytes.size()), c.encoding) << c.bytes;
    std::string text, problem;
    ASSERT_TRUE(DecodeInfBytes(c.bytes.data(), c.bytes.size(), Latin1, &text, &problem))
        << problem;
    EXPECT_EQ(text, c.text);
  }
  std::string text, problem;
  EXPECT_FALSE(DecodeInfBytes("\xFE\xFF\0k", 4, Latin1, &text, &problem));
  EXPECT_NE(problem.find("big-endian"), std::string::npos);
  EXPECT_FALSE(DecodeInfBytes("\xFF\xFEk", 3, Latin1, &text, &problem));
  EXPECT_FALSE(DecodeInfBytes("\xEF\xBB\xBF\xFF", 4, Latin1, &text, &problem));
  EXPECT_FALSE(DecodeInfBytes("\xFF\xFEk\0", 4, nullptr, &text, &problem));
  EXPECT_NE(problem.find("cannot be converted"), std::string::npos);
}

}  // namespace
}  // namespace stf
