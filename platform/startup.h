// The run-time start-up of the programs: the command tail behind the
// program name, and the show state from the start-up information.
#pragma once

#include "platform/win32.h"

LPSTR CommandTail(LPSTR commandLine);
int StartupShowState(void);
