// Opening the setup's INF file, apart: a program that reads none imports nothing for it.
#include "toolkit/setup_lifecycle.h"

#include "support/guarded.h"
#include "contract/toolkit_api.h"

void OpenInfFile(LPCSTR path) {
  Guarded<FOpenInf>(path, 1, 0);
}
