#include "support/service_config.h"

DWORD ReadServiceConfig(SC_HANDLE service, ServiceConfig* config) {
  union {
    QUERY_SERVICE_CONFIGA config;
    char bytes[8192];  // the largest answer the call gives
  } answer;
  DWORD needed = 0;
  if (!QueryServiceConfigA(service, &answer.config, sizeof answer, &needed)) return GetLastError();
  const QUERY_SERVICE_CONFIGA& c = answer.config;
  config->type = c.dwServiceType;
  config->start = c.dwStartType;
  config->errorControl = c.dwErrorControl;
  config->imagePath = c.lpBinaryPathName ? c.lpBinaryPathName : "";
  config->group = c.lpLoadOrderGroup ? c.lpLoadOrderGroup : "";
  return ERROR_SUCCESS;
}

bool ServiceRunning(SC_HANDLE service) {
  SERVICE_STATUS status;
  return QueryServiceStatus(service, &status) && status.dwCurrentState == SERVICE_RUNNING;
}
