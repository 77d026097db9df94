// The guarded form of a toolkit operation: a zero answer takes the fatal path.
#pragma once

#include "support/fatal_path.h"

template <auto Operation, typename... Args>
void Guarded(Args... args) {
  if (!Operation(args...)) FatalSetupError();
}
