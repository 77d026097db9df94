// The frame window: the full-screen backdrop that the dialogs sit on.
#pragma once

#include "platform/win32.h"

HWND CreateFrameWindow(HINSTANCE instance);
void SetFrameBitmapHandle(HBITMAP bitmap);
