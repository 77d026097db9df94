// The Application event of the run (core/audit_event.h).
#pragma once

#include <string>

#include "run_outcome.h"

// Writes the run's event under the source the program named, unless the
// source is another program's; the log (standard error once the log has its
// outcome, afterLog) says what became of it. outcomeLine is the log's last
// line for outcome, exitCode the process's.
void WriteAuditEvent(stf::RunOutcome outcome, const std::string& outcomeLine, int exitCode,
                     bool afterLog);

// The run is a check of the driver (/verify): its event is the check's.
void MarkCheckRun();
// The exit code a finished check decided, whoever saw it; false when the run
// is no check or the check did not finish.
bool CheckExitCode(int* code);
// What a check's own log is named after: the event source's product ("<product>
// check"), else the program's description.
std::string CheckLogProgram();
