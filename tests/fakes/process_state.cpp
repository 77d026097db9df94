#include "tests/fakes/process_state.h"

#include <cstring>

#include "installer/installer.h"
#include "platform/internal_failure.h"
#include "platform/process_exit.h"
#include "support/path_join.h"
#include "support/registry_binding.h"
#include "support/setup_paths.h"
#include "support/shared_dirs.h"
#include "support/shared_file_search.h"
#include "toolkit/setup_lifecycle.h"

void ExitProgram(int exitCode) { throw fake::ProcessExit{exitCode}; }

// The product's run-time hands failures it cannot go on from to this handler.
void SetInternalFailureHandler(InternalFailureHandler handler) {
  fake::internalFailureHandler = handler;
}

namespace fake {

InternalFailureHandler internalFailureHandler = nullptr;

void ResetProcessState() {
  ResetMachine();
  ResetToolkit();

  std::memset(&SetupPaths, 0, sizeof SetupPaths);
  SetupOpenState = kSetupNotOpened;
  FatalErrorShown = 0;
  SetFailureUndo(nullptr, nullptr);
  InstallSetupFatalPath();
  RegistryLibrary = nullptr;
  RegistryFunctions = RegistryEntryPoints{};
  SharedDirsSetUpPending = 1;
  SharedFileUpdateNeeded = 0;
  calls.clear();  // what the reset itself called is not the test's
}

std::optional<int> ExitCodeOf(const std::function<void()>& body) {
  try {
    body();
  } catch (const ProcessExit& exit) {
    return exit.code;
  }
  return std::nullopt;
}

}  // namespace fake
