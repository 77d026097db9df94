#include <gtest/gtest.h>

#include <string>

#include "log_file_rules.h"

namespace stf {
namespace {

bool NoLeadBytes(unsigned char) { return false; }
// Code page 932: 0x81-0x9F and 0xE0-0xFC lead; a trail byte may be '\' or '|'.
bool Cp932Lead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

TEST(LogFileRules, WhatAnElevatedOrPlainRunRefuses) {
  struct Case {
    const char* what;
    OpenedFileFacts facts;
    const char* refusal;  // a word of the reason, or "" for a file that may be written
  } cases[] = {
      {"a plain new file", {true, false, false, 1, FileOwner::kTrusted, true}, ""},
      {"a folder given as /log", {true, true, false, 1, FileOwner::kTrusted, true}, "folder"},
      {"a symbolic link or junction", {true, false, true, 1, FileOwner::kTrusted, true}, "link"},
      {"a link, not elevated", {true, false, true, 1, FileOwner::kTrusted, false}, "link"},
      {"two hard links", {true, false, false, 2, FileOwner::kTrusted, true}, "2 names"},
      {"two hard links, not elevated", {true, false, false, 2, FileOwner::kTrusted, false}, "2 names"},
      {"another user's file, elevated", {true, false, false, 1, FileOwner::kOther, true}, "not an administrator"},
      {"another user's file, not elevated", {true, false, false, 1, FileOwner::kOther, false}, ""},
      {"a volume without owners (FAT)", {true, false, false, 1, FileOwner::kUnknown, true}, ""},
      // A link that is also a folder: the folder is named, not the link.
      {"a junction to a folder", {true, true, true, 1, FileOwner::kOther, true}, "folder"},
      {"a file Windows cannot describe", {false, false, false, 1, FileOwner::kTrusted, true}, "checked"},
  };
  for (const Case& c : cases) {
    const std::string refusal = WriteRefusal(c.facts);
    if (c.refusal[0] == '\0') {
      EXPECT_EQ(refusal, "") << c.what;
    } else {
      EXPECT_NE(refusal.find(c.refusal), std::string::npos) << c.what << ": " << refusal;
    }
  }
}

TEST(LogFileRules, RunLogNames) {
  const LocalTime t = {2026, 12, 9, 6, 15, 2};
  EXPECT_EQ(RunLogName("Merlox IDE CD-ROM Drive Setup", t, 1, NoLeadBytes),
            "Merlox IDE CD-ROM Drive Setup 20261209-061502.log");
  EXPECT_EQ(RunLogName("Merlox IDE CD-ROM Drive Setup", t, 2, NoLeadBytes),
            "Merlox IDE CD-ROM Drive Setup 20261209-061502 (2).log");
  // A description that names a path or a question cannot make one.
  EXPECT_EQ(RunLogName("..\\x/y: a*b?\"<|>", t, 1, NoLeadBytes),
            ".._x_y_ a_b_____ 20261209-061502.log");
  // "表" in code page 932 is 0x95 0x5C: its trail byte is not a backslash.
  EXPECT_EQ(RunLogName("\x95\x5C\\", t, 1, Cp932Lead), "\x95\x5C_ 20261209-061502.log");
}

}  // namespace
}  // namespace stf
