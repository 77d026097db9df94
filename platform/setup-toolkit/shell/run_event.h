// The Application event of the run (core/audit_event.h).
#pragma once

#include <string>

// Writes the run's event under the source the program named, unless the
// source is another program's; the log says what became of it.
void WriteAuditEvent(const std::string& outcome, int exitCode);
