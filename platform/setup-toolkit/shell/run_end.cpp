#include "platform/setup-toolkit/shell/run_end.h"

#include "platform/setup-toolkit/shell/run_event.h"
#include "platform/setup-toolkit/stf_internal.h"
#include "run_outcome.h"

namespace {

bool outcomeWritten = false;
// A run that restarts Windows writes its event once the restart has been
// tried: its outcome and exit code are known only then.
bool eventPending = false;

stf::RunOutcome Outcome() { return stf::OutcomeFromValue(StfOutcome()); }

// The code the process ends with (StfExitCode), once the outcome is known.
int RunExitCode(int programCode) {
  // A check's code tells the driver's state to whoever started it.
  int checkCode = 0;
  if (CheckExitCode(&checkCode)) return checkCode;
  // A person saw the outcome; the exit code stays what the program says.
  return StfQuiet() ? stf::ExitCodeOf(Outcome()) : programCode;
}

// Whole, however long the cause it names.
std::string OutcomeLine() {
  const INT length = StfGetOutcomeLine(nullptr, 0);
  std::string line(static_cast<std::size_t>(length) + 1, '\0');
  StfGetOutcomeLine(&line[0], length + 1);
  line.resize(static_cast<std::size_t>(length));
  return line;
}

}  // namespace

bool TakeRunLock() {
  // One name for every setup on this toolkit, in every session. Windows NT 4.0
  // knows no "Global\" namespace and refuses the name: then a plain one.
  static HANDLE lock = nullptr;
  if (lock != nullptr) return true;
  HANDLE mutex = CreateMutexA(nullptr, FALSE, "Global\\StfSetupToolkitRun");
  if (mutex == nullptr && GetLastError() == ERROR_ACCESS_DENIED) return false;  // another user's
  if (mutex == nullptr) mutex = CreateMutexA(nullptr, FALSE, "StfSetupToolkitRun");
  if (mutex == nullptr) {
    StfLogError("Cannot create the lock that keeps two setups apart (CreateMutexA)",
                GetLastError());
    return true;  // better one setup too many than none at all
  }
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    return false;
  }
  lock = mutex;
  return true;
}

void EndRunEarly(stf::RunOutcome outcome, const std::string& reason) {
  StfSetOutcome(outcome, reason.c_str());
}

void WriteFinalOutcome() {
  if (outcomeWritten) return;
  outcomeWritten = true;
  // Before the outcome line, after which the log takes nothing more.
  if (Outcome() == stf::kOutcomeRestarting) {
    eventPending = true;
    FWriteToLogFile("Event log: the event is written once Windows has answered the restart", TRUE);
  } else {
    WriteAuditEvent(Outcome(), OutcomeLine(), RunExitCode(0), false);
  }
  StfLogOutcome();
  const std::string logFile = StfLogFilePath();
  if (!logFile.empty()) StfWriteStdErr("Log: " + logFile);
}

extern "C" {

BOOL STFAPI StfStartupFailure(LPCSTR text) {
  std::string line = "Error: " + std::string(text ? text : "");
  FWriteToLogFile(line.c_str(), TRUE);
  // A run that ended before it began has said why; a second box would only
  // call the switches that were asked for a failure. Any other gets the
  // program's box, in the language of the windows.
  if (!StfQuiet() && !stf::EndsBeforeStart(Outcome())) {
    WCHAR shown[512], caption[64];
    StfSpokenText(text, shown, 512);
    StfSpokenText("Error", caption, 64);
    StfShowBox(nullptr, shown, caption, MB_OK | MB_ICONHAND | MB_TASKMODAL);
  }
  return TRUE;
}

void STFAPI StfRestartRefused(DWORD error) {
  if (Outcome() != stf::kOutcomeRestarting) return;
  // The log was closed with the setup; its last line must still be the truth.
  const std::string logFile = StfLogFilePath();
  const bool reopened = !logFile.empty() && FOpenLogFile(logFile.c_str(), TRUE);
  StfLogError("Windows did not start the restart (ExitWindowsEx)", error);
  StfRefuseRestart();
  StfLogOutcome();
  if (reopened) FCloseLogFile();
}

INT STFAPI StfExitCode(INT programCode) {
  WriteFinalOutcome();  // a run that ended without TerminateFrame has not yet
  const int exitCode = RunExitCode(programCode);
  if (eventPending) {
    eventPending = false;
    WriteAuditEvent(Outcome(), OutcomeLine(), exitCode, true);
  }
  return exitCode;
}

}  // extern "C"
