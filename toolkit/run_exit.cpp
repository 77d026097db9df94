// The run-time's exit in the product: every way out ends here, and an
// unattended run leaves with the exit code its outcome has.
#include <cstdlib>

#include "platform/process_exit.h"
#include "toolkit/unattended.h"

void ExitProgram(int exitCode) {
  std::exit(RunExitCode(exitCode));
}
