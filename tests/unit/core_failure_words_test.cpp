// The plain words of a failure: what failed and the system's reason, and
// advice only where it follows from the cause.
#include <gtest/gtest.h>

#include "failure_words.h"

namespace stf {
namespace {

bool ShiftJisLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

struct Case {
  const char* operation;
  const char* file;
  const char* text;
  unsigned long code;
  const char* codeText;
  const char* what;
  const char* advice;  // a part of it; "" for none
};

TEST(FailureWords, WhatFailedWhyAndWhatToDo) {
  const Case cases[] = {
      {"read", "D:\\mlxidecd.SYS", "Cannot copy ...", 2, "The system cannot find the file specified.\r\n",
       "Setup could not read the file D:\\mlxidecd.SYS. Windows reports: The system cannot find "
       "the file specified (error 2).",
       "Insert the installation disk that holds mlxidecd.SYS,"},
      {"read", "D:\\x.sys", "", 3, "", "Setup could not read the file D:\\x.sys. Windows reports error 3.",
       "holds x.sys"},
      {"read", "D:\\x.sys", "", 21, "The device is not ready.", "", "Insert the installation disk into its drive"},
      {"read", "D:\\x.sys", "", 23, "Data error.", "", "may be damaged"},
      {"read", "D:\\x.sys", "", 5, "Access is denied.", "", ""},  // a disk nobody may read: no guess
      {"write", "C:\\WINNT\\SYSTEM32\\DRIVERS\\x.sys", "", 112, "There is not enough space on the disk.",
       "Setup could not install the file C:\\WINNT\\SYSTEM32\\DRIVERS\\x.sys. Windows reports: There "
       "is not enough space on the disk (error 112).",
       "Free some space on drive C:, then try again."},
      {"write", "\\\\srv\\share\\x.sys", "", 39, "", "", "Free some space on \\\\srv\\share,"},
      {"write", "C:\\WINNT\\SYSTEM32\\DRIVERS\\", "", 5, "Access is denied.",
       "Setup could not write to the folder C:\\WINNT\\SYSTEM32\\DRIVERS\\. Windows reports: Access "
       "is denied (error 5).",
       "Log on as an administrator"},
      {"write", "C:\\d\\x.sys", "", 32, "", "", "Close the programs that use x.sys,"},
      {"write", "C:\\d\\x.sys", "", 19, "", "", "write protection"},
      {"CreateServiceA", "mlxidecd", "", 5, "Access is denied.",
       "Setup could not register the service mlxidecd. Windows reports: Access is denied (error 5).",
       "Log on as an administrator"},
      {"CreateServiceA", "mlxidecd", "", 1314, "", "", "Log on as an administrator"},
      {"ControlService (stop)", "mlxidecd", "", 1052, "The requested control is not valid.",
       "Setup could not stop the service mlxidecd. Windows reports: The requested control is not "
       "valid (error 1052).",
       ""},
      {"OpenSCManagerA", "", "", 1722, "", "Setup could not open the service control manager. Windows "
       "reports error 1722.", ""},
      {"FrobnicateA", "thing", "", 87, "", "Setup could not complete the operation FrobnicateA thing. "
       "Windows reports error 87.", ""},
      // Only the record's text is known: it is the sentence; the code still advises.
      {"", "", "There is not enough free space on C: for the files", 112, "Disk full.",
       "There is not enough free space on C: for the files. Windows reports: Disk full (error 112).",
       "Free some disk space, then try again."},
      {"", "", "The driver is for x64 Windows.\n\nSetup has changed nothing.", 0, "",
       "The driver is for x64 Windows.\n\nSetup has changed nothing.", ""},
  };
  for (const Case& c : cases) {
    FailureCause cause;
    cause.operation = c.operation;
    cause.file = c.file;
    cause.text = c.text;
    cause.code = c.code;
    cause.codeText = c.codeText;
    const FailureWords words = DescribeFailure(cause, nullptr);
    if (c.what[0] != '\0') {
      EXPECT_EQ(words.what, c.what) << c.operation << " " << c.code;
    }
    if (c.advice[0] == '\0') {
      EXPECT_EQ(words.advice, "") << c.operation << " " << c.code;
    } else {
      EXPECT_NE(words.advice.find(c.advice), std::string::npos)
          << c.operation << " " << c.code << ": " << words.advice;
    }
  }
}

TEST(FailureWords, NothingKnownSaysNothing) {
  const FailureWords words = DescribeFailure(FailureCause(), nullptr);
  EXPECT_EQ(words.what, "");
  EXPECT_EQ(words.advice, "");
}

// 0x95 0x5C is one character in code page 932: its trail byte is no separator.
TEST(FailureWords, FileNamesAreTakenByCharacters) {
  FailureCause cause;
  cause.operation = kOperationRead;
  cause.file = "D:\\disk\\\x95\x5C.sys";
  cause.code = 2;
  EXPECT_NE(DescribeFailure(cause, ShiftJisLead).advice.find("holds \x95\x5C.sys,"), std::string::npos);
  cause.operation = kOperationWrite;
  cause.file = "C:\\\x95\x5C";  // a file, not a folder ending in a backslash
  cause.code = 5;
  EXPECT_EQ(DescribeFailure(cause, ShiftJisLead).what.rfind("Setup could not install the file", 0), 0u);
}

}  // namespace
}  // namespace stf

namespace stf {
namespace {

// The dialogs word the decision in their language: the same ids and inserts
// as the English, the system's text and the code apart from the sentence.
TEST(FailureWords, TheDecisionIsIdsAndInserts) {
  FailureCause cause;
  cause.operation = kOperationWrite;
  cause.file = "C:\\d\\x.sys";
  cause.code = 32;
  cause.codeText = "The file is in use.\r\n";
  FailureDecision decision = DecideFailure(cause, nullptr);
  EXPECT_EQ(decision.what.id, static_cast<unsigned>(IDS_FAIL_WRITE));
  EXPECT_EQ(decision.what.inserts[0], "C:\\d\\x.sys");
  EXPECT_EQ(decision.reason.id, static_cast<unsigned>(IDS_FAIL_REASON));
  EXPECT_EQ(decision.reason.inserts[0], "The file is in use");
  EXPECT_EQ(decision.reason.inserts[1], "32");
  EXPECT_EQ(decision.advice.id, static_cast<unsigned>(IDS_ADVICE_CLOSE));
  EXPECT_EQ(decision.advice.inserts[0], "x.sys");

  // A box the program worded itself: its own text id; the English is its text.
  FailureCause box;
  box.text = "The setup disk lacks 1 file.\n\nStart setup again";
  box.textId = 1037;
  box.textInserts[1] = "D:\\a %2 b";
  decision = DecideFailure(box, nullptr);
  EXPECT_EQ(decision.what.id, 1037u);
  EXPECT_EQ(FillSentence("[%2|%1]", decision.what), "[D:\\a %2 b|]") << "inserts are not filled again";
  EXPECT_EQ(DescribeFailure(box, nullptr).what, "The setup disk lacks 1 file.\n\nStart setup again.");
}

}  // namespace
}  // namespace stf
