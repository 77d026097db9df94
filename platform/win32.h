// The one seam between the program and the system: the real Windows headers
// in the product, declarations only (no behaviour) in the host build, where
// the test doubles supply the functions.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include "host/windows_subset.h"
#endif
