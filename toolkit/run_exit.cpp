// The run-time's exit in the product: every way out ends here, and an
// unattended run leaves with the exit code its outcome has.
#include <cstdlib>

#include "contract/toolkit_api.h"
#include "platform/process_exit.h"

void ExitProgram(int exitCode) {
  std::exit(StfExitCode(exitCode));
}
