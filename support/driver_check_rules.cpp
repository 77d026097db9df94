#include "support/driver_check_rules.h"

#include "platform/setup-toolkit/core/ansi_text.h"

const char kDriverStateValue[] = "DriverState";
const char kStateRunning[] = "running";
static const char kRestoredPrefix[] = "previous version ";
static const char kRestoredSuffix[] = " restored";

std::string NotStartedState(unsigned long code) {
  return "not started (code " + std::to_string(code) + ")";
}

std::string RestoredState(const std::string& version) {
  return kRestoredPrefix + (version.empty() ? std::string("(no version)") : version) +
         kRestoredSuffix;
}

static bool IsRestoredState(const std::string& state) {
  const std::string prefix = kRestoredPrefix, suffix = kRestoredSuffix;
  return state.size() > prefix.size() + suffix.size() && state.compare(0, prefix.size(), prefix) == 0 &&
         state.compare(state.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::vector<std::string> ConfigDifferences(const CheckedService& s,
                                           const DriverServiceDescription& d) {
  std::vector<std::string> found;
  auto number = [&found](const char* what, unsigned long is, unsigned long wanted) {
    if (is != wanted) {
      found.push_back(std::string("The service's ") + what + " is " + std::to_string(is) +
                      ", not " + std::to_string(wanted) + ".");
    }
  };
  number("type", s.type, d.type);
  number("start type", s.start, d.start);
  number("error control", s.errorControl, d.errorControl);
  if (!s.imageNamesDriver) {
    found.push_back("The service's image path \"" + s.imagePath + "\" does not name the driver file.");
  }
  if (!stf::EqualsNoCase(s.group, d.group ? d.group : "")) {
    found.push_back("The service's group is \"" + s.group + "\", not \"" + d.group + "\".");
  }
  return found;
}

CheckDecision DecideDriverCheck(const CheckFacts& f, const DriverServiceDescription& described) {
  CheckDecision d;
  // Before the restart the loaded driver may be the one the install replaced:
  // nothing can be told yet.
  if (f.bootCheckPending) {
    d.verdict = CheckVerdict::kPending;
    d.state = kStatePending;
    d.exitCode = 3010;
    return d;
  }
  if (f.service.exists) d.findings = ConfigDifferences(f.service, described);
  if (!f.fileMatches) d.findings.push_back(f.fileProblem);
  // Every check records what it found, /verify alone too: the entry then
  // always says what the last look saw. Only the driver waits for /restore.
  d.writeEntry = f.recorded;

  if (f.service.exists && f.service.running) {
    d.verdict = CheckVerdict::kRunning;
    d.state = kStateRunning;
    d.exitCode = 0;
    d.removeKept = f.mayChange && f.previous.kept;
    return d;
  }
  const unsigned long code = f.service.exists ? f.service.exitCode : 1060;  // ERROR_SERVICE_DOES_NOT_EXIST
  // A restore done by an earlier check waits for the restart that loads it.
  if (IsRestoredState(f.lastState) && f.fileMatches && !f.previous.kept) {
    d.verdict = CheckVerdict::kRestoredWaiting;
    d.state = f.lastState;
    d.exitCode = 3010;
    d.writeEntry = false;
    return d;
  }
  const bool restorable = f.previous.kept && f.previous.intact && f.previous.wasRunning;
  if (restorable && f.mayChange) {
    d.verdict = CheckVerdict::kRestore;
    d.state = RestoredState(f.previous.version);
    d.exitCode = 3010;
    d.restore = true;
    return d;
  }
  d.verdict = CheckVerdict::kNotStarted;
  d.state = NotStartedState(code);
  d.exitCode = 1603;
  if (restorable) {
    d.findings.push_back("The previous version " +
                         (f.previous.version.empty() ? std::string("(no version)") : f.previous.version) +
                         ", which was running, is kept; /verify /restore puts it back.");
  } else if (f.previous.kept && !f.previous.intact) {
    d.findings.push_back("The previous driver the install kept has changed since; it is not put back.");
  }
  return d;
}
