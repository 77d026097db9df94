// The progress gauge shown during the copy.
#pragma once

#include "platform/win32.h"

// (x, y): the gauge's top-left corner in dialog units (x: a quarter, y: an eighth
// of the system font's average character box) from the top-left corner of
// the frame's client area, as ProSetPos gives it.
void SetGaugePosition(int x, int y);
// frame: the gauge's parent (it outlives a billboard that is swapped for the
// next); avoid: the billboard, which must not hide the gauge.
void OpenGauge(HWND frame, HWND avoid);
// The file now being copied, by its name; the gauge says "Copying <name>".
void SetGaugeFile(LPCSTR name);
void SetGaugeProgress(unsigned long long done, unsigned long long total);
void CloseGauge(void);
