// The forced restart that ends an install or removal of the driver.
#pragma once

#include "platform/win32.h"

// Enables the shutdown privilege and asks Windows for a forced reboot; 1 when
// Windows accepted the request, 0 when a step failed (GetLastError says why).
int RestartWindows(void);
