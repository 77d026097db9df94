// Lines the program adds to the toolkit's setup log. Without a log they go
// nowhere, which is no failure.
#pragma once

#include "platform/win32.h"

void LogText(LPCSTR text);
// "Error: <what> (error N: <the system's text>)": the cause the outcome names.
void LogWin32Failure(LPCSTR what, DWORD error);
