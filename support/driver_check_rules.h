// What the check of the driver after a restart decides, from what it found:
// the driver service's state and Windows' code for it, the driver file
// against the install's record, the service's configuration against its one
// description, and the previous driver the install kept. No Win32 here.
//
// The state it leaves in the uninstall entry (DriverState) is one of
//   running | not started (code N) | previous version V restored | check pending
#pragma once

#include <string>
#include <vector>

#include "platform/setup-toolkit/core/audit_event.h"
#include "support/driver_service.h"
#include "support/service_config.h"

// The service as the manager has it.
struct CheckedService : ServiceConfig {
  bool exists = false;
  bool running = false;
  unsigned long exitCode = 0;  // Windows' code: the service's own where the Win32 code says so
  bool imageNamesDriver = false;  // the image path names DRIVERS\<driver file>
};

// The driver the install replaced, as it kept it in the product's folder.
struct KeptDriver {
  bool kept = false;
  bool intact = false;      // file and configuration still the bytes the install recorded
  bool wasRunning = false;  // the previous driver ran when the install replaced it
  std::string version;      // empty: the file has none
};

struct CheckFacts {
  CheckedService service;
  bool fileMatches = false;  // DRIVERS\<driver file> is the file the entry records
  std::string fileProblem;   // why not, when it is not
  std::string lastState;     // DriverState as the entry has it
  bool bootCheckPending = false;  // the check at the next start has not run yet
  bool recorded = false;          // an uninstall entry records this product's files
  bool mayChange = false;         // /restore, or the check at the start
  KeptDriver previous;
};

enum class CheckVerdict { kRunning, kNotStarted, kRestore, kRestoredWaiting, kPending };

struct CheckDecision {
  CheckVerdict verdict = CheckVerdict::kNotStarted;
  std::string state;   // the entry's DriverState after the check
  int exitCode = 0;    // 0 running, 1603 not started, 3010 a restart is awaited
  bool restore = false;     // put the kept driver back
  bool removeKept = false;  // the kept driver is not needed any more
  bool writeEntry = false;  // DriverState and DriverChecked record this check
  std::vector<std::string> findings;  // what differs from what the install left, a sentence each
};

std::string NotStartedState(unsigned long code);
std::string RestoredState(const std::string& version);
extern const char kDriverStateValue[];  // the entry's value that holds the state
extern const char kStateRunning[];
constexpr const char* kStatePending = stf::kCheckPendingState;  // the audit event's spelling

// The differences of the configuration from the description, a sentence each.
std::vector<std::string> ConfigDifferences(const CheckedService& service,
                                           const DriverServiceDescription& described);

CheckDecision DecideDriverCheck(const CheckFacts& facts, const DriverServiceDescription& described);
