#include "platform/process_exit.h"

#include <cstdlib>

void ExitProgram(int exitCode) {
  std::exit(exitCode);
}
