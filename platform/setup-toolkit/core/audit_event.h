// The Application event that every install and removal leaves for auditors,
// in the manner of Windows Installer's: one event a run, its number telling
// what was done and whether it worked, its strings the particulars.
//   11707  installation completed          11708  installation failed or cancelled
//   11724  removal completed               11725  removal failed, cancelled, or nothing to remove
// and one of the driver's check after a restart or on demand (the driver's
// state, not a run of setup):
//   11790  driver running                  11791  driver not started (or the check failed)
//   11792  previous driver restored        11793  check pending (no restart since the install)
// Insertion strings, in order: product, version, outcome, exit code, user, log;
// a check's outcome is the driver's state.
#pragma once

#include <string>
#include <vector>

#include "dbcs_path.h"
#include "run_outcome.h"

namespace stf {

enum class AuditAction { kInstall, kRemove, kCheck };
// A check's state while the restart it waits for has not come: its event
// (11793) is told from a restore's by it.
constexpr char kCheckPendingState[] = "check pending";
enum class AuditSeverity { kInformation, kWarning, kError };

struct AuditFacts {
  AuditAction action = AuditAction::kInstall;
  std::string product;
  std::string version;
  RunOutcome outcome = kOutcomeUndecided;
  std::string outcomeLine;  // the log's last line for it, without "Outcome: "
  int exitCode = 0;         // the process's: 0 when a person saw the outcome
  std::string user;
  std::string logPath;  // empty: the run has no log
  std::string checkState;  // a check's DriverState; empty: the check did not finish
};

struct AuditEvent {
  unsigned long id = 0;
  AuditSeverity severity = AuditSeverity::kInformation;
  std::vector<std::string> strings;
};

// False when the run leaves no event: it only showed the switches or refused
// its command line, and installed or removed nothing.
bool AuditEventFor(const AuditFacts& facts, AuditEvent* event);

// May setup register, write under, or remove the event source whose
// registered message file is registeredFile? Only when the source is not
// registered yet or its message file is our library (ownLibrary, a file
// name), wherever it was installed: another product's source is never touched.
bool IsOwnEventSource(const std::string& registeredFile, const std::string& ownLibrary,
                      LeadBytePredicate isLead);

}  // namespace stf
