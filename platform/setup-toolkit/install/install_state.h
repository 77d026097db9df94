// What the install engine keeps between calls.
#pragma once

#include <string>

#include "platform/setup-toolkit/stf_internal.h"

struct Billboard {
  std::string dll;
  UINT id;
  std::string proc;
  LONG ticks;
};

// The billboard shown during the copy: the first one registered, or null.
const Billboard* RegisteredBillboard();
