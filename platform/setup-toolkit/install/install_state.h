// What the install engine keeps between calls.
#pragma once

#include <string>
#include <vector>

#include "copy_recovery.h"
#include "platform/setup-toolkit/stf_internal.h"

struct Billboard {
  std::string dll;
  UINT id;
  std::string proc;
  LONG ticks;
};

// The billboards registered for the copy, in the order of registration.
const std::vector<Billboard>& RegisteredBillboards();

// The last copy while the files it replaced are kept (copy_finish.cpp).
stf::PendingCopy& LastCopy();
