// Every way out of the process goes through here, so that the run-time's
// termination handlers run and the host tests can see the exit code.
#pragma once

[[noreturn]] void ExitProgram(int exitCode);
