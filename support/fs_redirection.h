// On 64-bit Windows a 32-bit program's SYSTEM32 is redirected to SysWOW64,
// while a driver service's image path names the real SYSTEM32. Around the
// calls that name driver files the redirection is turned off.
#pragma once

#include "platform/win32.h"

// The state to hand back; null where there is no redirection (32-bit Windows,
// or a system without the entry points, looked up at run time).
PVOID TurnOffFileRedirection(void);
void RestoreFileRedirection(PVOID state);
