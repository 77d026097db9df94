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
