// A service's configuration as the service manager answers it: what the
// registration reads back, the install keeps of a replaced driver, and the
// check after the restart compares with the one description.
#pragma once

#include <string>

#include "platform/win32.h"

struct ServiceConfig {
  DWORD type = 0, start = 0, errorControl = 0;
  std::string imagePath, group;
};

// ERROR_SUCCESS, or QueryServiceConfigA's error, which the caller logs.
DWORD ReadServiceConfig(SC_HANDLE service, ServiceConfig* config);
// Whether the service runs now; false too when its status cannot be read.
bool ServiceRunning(SC_HANDLE service);
