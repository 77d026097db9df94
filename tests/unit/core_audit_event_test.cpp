#include <gtest/gtest.h>

#include <string>

#include "audit_event.h"

namespace stf {
namespace {

bool NoLeadBytes(unsigned char) { return false; }

TEST(AuditEvent, NumberAndSeverityFollowTheOutcome) {
  struct Case {
    AuditAction action;
    RunOutcome outcome;
    const char* line;
    int exitCode;
    unsigned long id;
    AuditSeverity severity;
  } cases[] = {
      {AuditAction::kInstall, kOutcomeSucceeded, "SUCCESS", 0, 11707, AuditSeverity::kInformation},
      {AuditAction::kInstall, kOutcomeRestartPending, "SUCCESS (restart pending)", 3010, 11707,
       AuditSeverity::kInformation},
      {AuditAction::kInstall, kOutcomeRestarting, "SUCCESS (restarting Windows)", 1641, 11707,
       AuditSeverity::kInformation},
      {AuditAction::kInstall, kOutcomeFailed, "FAILED (CopyFileA x (error 5))", 1603, 11708,
       AuditSeverity::kError},
      // A person saw the failure: the process ends with 0, the event still says failed.
      {AuditAction::kInstall, kOutcomeFailed, "FAILED (CopyFileA x (error 5))", 0, 11708,
       AuditSeverity::kError},
      {AuditAction::kInstall, kOutcomeUndecided, "FAILED (setup ended before it completed)", 1603,
       11708, AuditSeverity::kError},
      {AuditAction::kInstall, kOutcomeCancelled, "CANCELLED", 1602, 11708, AuditSeverity::kWarning},
      {AuditAction::kInstall, kOutcomeLogRefused, "FAILED (the log C:\\l cannot be opened)", 1622,
       11708, AuditSeverity::kError},
      {AuditAction::kInstall, kOutcomeAnotherSetup, "FAILED (another setup is running)", 1618,
       11708, AuditSeverity::kError},
      {AuditAction::kRemove, kOutcomeSucceeded, "SUCCESS", 0, 11724, AuditSeverity::kInformation},
      {AuditAction::kRemove, kOutcomeRestartPending, "SUCCESS (restart pending)", 3010, 11724,
       AuditSeverity::kInformation},
      {AuditAction::kRemove, kOutcomeNotInstalled, "NOT INSTALLED (no service)", 1605, 11725,
       AuditSeverity::kWarning},
      {AuditAction::kRemove, kOutcomeFailed, "FAILED (DeleteService (error 5))", 1603, 11725,
       AuditSeverity::kError},
  };
  for (const Case& c : cases) {
    AuditFacts facts;
    facts.action = c.action;
    facts.product = "Merlox IDE CD-ROM Drive";
    facts.version = "1.0.0.0";
    facts.outcome = c.outcome;
    facts.outcomeLine = c.line;
    facts.exitCode = c.exitCode;
    facts.user = "SYSTEM";
    facts.logPath = "C:\\Windows\\Temp\\x.log";
    AuditEvent event;
    ASSERT_TRUE(AuditEventFor(facts, &event)) << c.line;
    EXPECT_EQ(event.id, c.id) << c.line;
    EXPECT_EQ(event.severity, c.severity) << c.line;
    const std::vector<std::string> strings = {"Merlox IDE CD-ROM Drive", "1.0.0.0", c.line,
                                              std::to_string(c.exitCode), "SYSTEM",
                                              "C:\\Windows\\Temp\\x.log"};
    EXPECT_EQ(event.strings, strings) << c.line;
  }
}

// With or without windows: the exit code of a run that a person saw is 0.
// A check's event tells the driver's state, whoever saw it; a check that did
// not finish is a failed one, its outcome line the words.
TEST(AuditEvent, ACheckTellsTheDriversState) {
  struct Case {
    const char* state;
    int exitCode;
    unsigned long id;
    AuditSeverity severity;
    const char* third;
  } cases[] = {
      {"running", 0, 11790, AuditSeverity::kInformation, "running"},
      {"not started (code 31)", 1603, 11791, AuditSeverity::kError, "not started (code 31)"},
      {"previous version 1.0.0.0 restored", 3010, 11792, AuditSeverity::kWarning,
       "previous version 1.0.0.0 restored"},
      {"check pending", 3010, 11793, AuditSeverity::kInformation, "check pending"},
      {"", 1603, 11791, AuditSeverity::kError, "FAILED (x)"},
  };
  for (const Case& c : cases) {
    AuditFacts facts;
    facts.action = AuditAction::kCheck;
    facts.outcome = c.exitCode == 0 ? kOutcomeSucceeded : kOutcomeFailed;
    facts.outcomeLine = "FAILED (x)";
    facts.exitCode = c.exitCode;
    facts.checkState = c.state;
    AuditEvent event;
    ASSERT_TRUE(AuditEventFor(facts, &event)) << c.state;
    EXPECT_EQ(event.id, c.id) << c.state;
    EXPECT_EQ(event.severity, c.severity) << c.state;
    ASSERT_EQ(event.strings.size(), 6u);
    EXPECT_EQ(event.strings[2], c.third) << c.state;
    EXPECT_EQ(event.strings[3], std::to_string(c.exitCode)) << c.state;
  }
}

TEST(AuditEvent, NoEventForARunThatOnlyReadItsCommandLine) {
  AuditFacts facts;
  facts.outcome = kOutcomeBadCommandLine;
  facts.outcomeLine = "FAILED (bad command line: /x)";
  AuditEvent event;
  for (int exitCode : {1639, 0}) {
    facts.exitCode = exitCode;
    EXPECT_FALSE(AuditEventFor(facts, &event)) << exitCode;
  }
  facts.outcome = kOutcomeCannotStart;
  facts.exitCode = 1603;
  ASSERT_TRUE(AuditEventFor(facts, &event));
  // Every insertion string is there, so that no "%5" shows in the text.
  EXPECT_EQ(event.strings[1], "(unknown)");
  EXPECT_EQ(event.strings[4], "(unknown)");
  EXPECT_EQ(event.strings[5], "(none)");
}

TEST(AuditEvent, OnlyOurOwnSourceIsTouched) {
  struct Case {
    const char* registered;
    bool ours;
  } cases[] = {
      {"", true},  // not registered yet
      {"C:\\Program Files\\Merlox IDE CD-ROM Drive\\MSSHLSTF.dll", true},
      {"c:\\progra~1\\merlox~1\\msshlstf.DLL", true},  // another spelling of our folder
      {"%SystemRoot%\\System32\\msimsg.dll", false},
      {"C:\\Program Files\\Other\\MSSHLSTF.dll.mui", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsOwnEventSource(c.registered, "MSSHLSTF.dll", NoLeadBytes), c.ours) << c.registered;
  }
}

}  // namespace
}  // namespace stf
