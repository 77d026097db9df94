// Process-wide state for host tests: a reset of every global of the program
// and of the fakes, and the process exit turned into a caught result.
#pragma once

#include <functional>
#include <optional>

#include <gtest/gtest.h>

#include "platform/internal_failure.h"
#include "tests/fakes/fake_toolkit.h"
#include "tests/fakes/fake_windows.h"
#include "tests/fakes/transcript.h"

namespace fake {

// Thrown by the host's ExitProgram; only the test harness catches it.
struct ProcessExit {
  int code;
};

void ResetProcessState();
// What the program gave the run-time for a failure it cannot go on from.
extern InternalFailureHandler internalFailureHandler;

// Runs the body; the exit code when it ended the process, nothing when it returned.
std::optional<int> ExitCodeOf(const std::function<void()>& body);

}  // namespace fake

// Every host test starts from a freshly started process.
class SetupTest : public ::testing::Test {
 protected:
  void SetUp() override { fake::ResetProcessState(); }
};
