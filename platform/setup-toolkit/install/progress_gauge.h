// The progress gauge shown during the copy.
#pragma once

#include "platform/win32.h"

// (x, y): the gauge's top-left corner in dialog units from the frame's
// top-left corner, as ProSetPos gives it.
void SetGaugePosition(int x, int y);
void OpenGauge(HWND owner);
void SetGaugeProgress(unsigned long long done, unsigned long long total);
void CloseGauge(void);
