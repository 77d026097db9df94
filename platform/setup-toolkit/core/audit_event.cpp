#include "audit_event.h"

#include "ansi_text.h"
#include "run_outcome.h"

namespace stf {

namespace {

void CheckEvent(const AuditFacts& facts, AuditEvent* event) {
  const bool finished = !facts.checkState.empty();
  if (finished && facts.exitCode == kExitSuccess) {
    event->id = 11790;
    event->severity = AuditSeverity::kInformation;
  } else if (finished && facts.exitCode == kExitRestartPending) {
    const bool pending = facts.checkState == kCheckPendingState;
    event->id = pending ? 11793 : 11792;
    event->severity = pending ? AuditSeverity::kInformation : AuditSeverity::kWarning;
  } else {
    event->id = 11791;
    event->severity = AuditSeverity::kError;
  }
}

}  // namespace

bool AuditEventFor(const AuditFacts& facts, AuditEvent* event) {
  if (facts.outcome == kOutcomeBadCommandLine) return false;
  if (facts.action == AuditAction::kCheck) {
    CheckEvent(facts, event);
    event->strings = {facts.product,
                      facts.version.empty() ? "(unknown)" : facts.version,
                      facts.checkState.empty() ? facts.outcomeLine : facts.checkState,
                      std::to_string(facts.exitCode),
                      facts.user.empty() ? "(unknown)" : facts.user,
                      facts.logPath.empty() ? "(none)" : facts.logPath};
    return true;
  }
  const bool done = IsDone(facts.outcome);
  const bool removal = facts.action == AuditAction::kRemove;
  const bool warning = facts.outcome == kOutcomeCancelled || facts.outcome == kOutcomeNotInstalled;
  event->id = removal ? (done ? 11724 : 11725) : (done ? 11707 : 11708);
  event->severity = done      ? AuditSeverity::kInformation
                    : warning ? AuditSeverity::kWarning
                              : AuditSeverity::kError;
  event->strings = {facts.product,
                    facts.version.empty() ? "(unknown)" : facts.version,
                    facts.outcomeLine,
                    std::to_string(facts.exitCode),
                    facts.user.empty() ? "(unknown)" : facts.user,
                    facts.logPath.empty() ? "(none)" : facts.logPath};
  return true;
}

bool IsOwnEventSource(const std::string& registeredFile, const std::string& ownLibrary,
                      LeadBytePredicate isLead) {
  return registeredFile.empty() || EqualsNoCase(FileNameOf(registeredFile, isLead), ownLibrary);
}

}  // namespace stf
