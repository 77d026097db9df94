// The run's Application event under the product's own event source, and the
// registration of that source (HKLM\SYSTEM\CurrentControlSet\Services\EventLog
// \Application\<source>, its message file this library). A run goes on when
// the event log cannot be written; the log says so.
#include "platform/setup-toolkit/shell/run_event.h"

#include "audit_event.h"
#include "dbcs_path.h"
#include "platform/setup-toolkit/shell/run_header.h"
#include "platform/setup-toolkit/stf_internal.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

std::string eventSource;
stf::AuditAction auditAction = stf::AuditAction::kInstall;
std::string checkState;  // set once a check has decided
int checkExitCode = 0;

const char kApplicationLog[] = "SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\";

// After the outcome line the log takes nothing more: standard error does.
bool notesAfterLog = false;

void Note(const std::string& text) {
  if (notesAfterLog) {
    StfWriteStdErr(text);
  } else {
    FWriteToLogFile(text.c_str(), TRUE);
  }
}

std::string WithErrorText(const std::string& text, DWORD code) {
  char system[512];
  return text + " (error " + std::to_string(code) + ": " + StfErrorText(code, system, sizeof system) +
         ")";
}

// This library's file name: the message file of our events.
std::string OwnLibrary() {
  char path[MAX_PATH + 1];
  const DWORD n = GetModuleFileNameA(reinterpret_cast<HMODULE>(&__ImageBase), path, MAX_PATH);
  return n == 0 || n >= MAX_PATH ? std::string("MSSHLSTF.dll")
                                 : stf::FileNameOf(std::string(path, n), StfIsLeadByte);
}

bool IsOurs(const std::string& registered) {
  return stf::IsOwnEventSource(registered, OwnLibrary(), StfIsLeadByte);
}

// The message file the source is registered with; empty when the source is
// not registered. A registration whose message file cannot be read is not ours.
std::string RegisteredMessageFile() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, (kApplicationLog + eventSource).c_str(), 0,
                    KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return std::string();
  }
  char file[MAX_PATH + 1] = "";
  DWORD size = sizeof file - 1, type = 0;
  const LONG result = RegQueryValueExA(key, "EventMessageFile", nullptr, &type,
                                       reinterpret_cast<BYTE*>(file), &size);
  RegCloseKey(key);
  return result == ERROR_SUCCESS && file[0] != '\0' ? file : "(unreadable)";
}

std::string RunUser() {
  char user[257] = "";
  DWORD size = sizeof user;
  return GetUserNameA(user, &size) ? user : "";
}

WORD EventType(stf::AuditSeverity severity) {
  return severity == stf::AuditSeverity::kInformation ? EVENTLOG_INFORMATION_TYPE
         : severity == stf::AuditSeverity::kWarning   ? EVENTLOG_WARNING_TYPE
                                                      : EVENTLOG_ERROR_TYPE;
}

bool Report(const stf::AuditEvent& event, DWORD* error) {
  HANDLE log = RegisterEventSourceA(nullptr, eventSource.c_str());
  if (log == nullptr) {
    *error = GetLastError();
    return false;
  }
  LPCSTR strings[8];
  WORD count = 0;
  for (const std::string& s : event.strings) {
    if (count < sizeof strings / sizeof strings[0]) strings[count++] = s.c_str();
  }
  const BOOL written = ReportEventA(log, EventType(event.severity), 0, event.id,
                                    StfProcessUserSid(), count, 0, strings, nullptr);
  *error = written ? 0 : GetLastError();
  DeregisterEventSource(log);
  return written != FALSE;
}

}  // namespace

void WriteAuditEvent(stf::RunOutcome outcome, const std::string& outcomeLine, int exitCode,
                     bool afterLog) {
  if (eventSource.empty()) return;
  notesAfterLog = afterLog;
  stf::AuditFacts facts;
  facts.action = auditAction;
  facts.product = eventSource;
  facts.version = ProgramVersion();
  facts.outcome = outcome;
  facts.outcomeLine = outcomeLine;
  facts.exitCode = exitCode;
  facts.user = RunUser();
  char logFile[MAX_PATH + 1] = "";
  CbGetSymbolValue(STF_SYM_LOGFILE, logFile, sizeof logFile);
  facts.logPath = logFile;
  facts.checkState = checkState;
  stf::AuditEvent event;
  if (!stf::AuditEventFor(facts, &event)) return;
  if (!IsOurs(RegisteredMessageFile())) {
    Note("Event log: no event written: the source " + eventSource + " belongs to another program");
    return;
  }
  DWORD error = 0;
  Note(Report(event, &error)
           ? "Event log: event " + std::to_string(event.id) + " written (source " + eventSource + ")"
           : WithErrorText("Event log: the event cannot be written (ReportEventA)", error));
}

std::string CheckLogProgram() {
  return (eventSource.empty() ? ProgramDescription() : eventSource) + " check";
}

void MarkCheckRun() { auditAction = stf::AuditAction::kCheck; }

bool CheckExitCode(int* code) {
  if (auditAction != stf::AuditAction::kCheck || checkState.empty()) return false;
  *code = checkExitCode;
  return true;
}

extern "C" {

void STFAPI StfSetCheckOutcome(INT exitCode, LPCSTR state) {
  checkState = state && state[0] ? state : "(unknown)";
  checkExitCode = exitCode;
  const std::string line = "Driver state: " + checkState;
  FWriteToLogFile(line.c_str(), TRUE);
  // For the person or script that started it, where the log is not read.
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (out != nullptr && out != INVALID_HANDLE_VALUE) {
    const std::string text = line + "\r\n";
    DWORD written = 0;
    WriteFile(out, text.c_str(), static_cast<DWORD>(text.size()), &written, nullptr);
  }
  if (exitCode == stf::kExitSuccess) {
    StfSetOutcome(stf::kOutcomeSucceeded, "");
  } else if (exitCode == stf::kExitRestartPending) {
    StfSetOutcome(stf::kOutcomeRestartPending, "");
  } else {
    StfSetOutcome(stf::kOutcomeFailed, ("the driver's state is " + checkState).c_str());
  }
}

BOOL STFAPI StfSetEventSource(LPCSTR source, BOOL removal) {
  eventSource = source ? source : "";
  auditAction = removal ? stf::AuditAction::kRemove : stf::AuditAction::kInstall;
  return TRUE;
}

BOOL STFAPI FRegisterEventSource(LPCSTR folder) {
  if (eventSource.empty()) return TRUE;
  const std::string file = stf::WithBackslash(folder ? folder : "", StfIsLeadByte) + OwnLibrary();
  if (!IsOurs(RegisteredMessageFile())) {
    Note("Event log: the source " + eventSource + " belongs to another program; left as it is");
    return TRUE;
  }
  HKEY key;
  const std::string name = kApplicationLog + eventSource;
  LONG result = RegCreateKeyExA(HKEY_LOCAL_MACHINE, name.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                nullptr, &key, nullptr);
  if (result != ERROR_SUCCESS) {
    StfLogFailure(nullptr, "RegCreateKeyExA", ("HKLM\\" + name).c_str(), result);
    return FALSE;
  }
  const DWORD types = EVENTLOG_ERROR_TYPE | EVENTLOG_WARNING_TYPE | EVENTLOG_INFORMATION_TYPE;
  result = RegSetValueExA(key, "EventMessageFile", 0, REG_EXPAND_SZ,
                          reinterpret_cast<const BYTE*>(file.c_str()), file.size() + 1);
  if (result == ERROR_SUCCESS) {
    result = RegSetValueExA(key, "TypesSupported", 0, REG_DWORD,
                            reinterpret_cast<const BYTE*>(&types), sizeof types);
  }
  RegCloseKey(key);
  if (result != ERROR_SUCCESS) {
    StfLogFailure(nullptr, "RegSetValueExA", ("HKLM\\" + name).c_str(), result);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, name.c_str());
    return FALSE;
  }
  Note("Event source registered: HKLM\\" + name + " (" + file + ")");
  return TRUE;
}

BOOL STFAPI FRemoveEventSource(void) {
  const std::string registered = RegisteredMessageFile();
  const std::string name = kApplicationLog + eventSource;
  if (eventSource.empty() || registered.empty()) return TRUE;
  if (!IsOurs(registered)) {
    Note("Event log: the source " + eventSource + " belongs to another program; left as it is");
    return TRUE;
  }
  const LONG result = RegDeleteKeyA(HKEY_LOCAL_MACHINE, name.c_str());
  if (result != ERROR_SUCCESS) {
    StfLogFailure(nullptr, "RegDeleteKeyA", ("HKLM\\" + name).c_str(), result);
    return FALSE;
  }
  Note("Event source removed: HKLM\\" + name);
  return TRUE;
}

}  // extern "C"
