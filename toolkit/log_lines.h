// Lines the program adds to the toolkit's setup log. Without a log they go
// nowhere, which is no failure.
#pragma once

#include "platform/win32.h"

void LogText(LPCSTR text);
// "Error: <what> (error N: <the system's text>)": the cause the outcome names.
void LogWin32Failure(LPCSTR what, DWORD error);
// "Error: <call> <object> (error N: ...)", where the toolkit keeps the call and
// its object apart, so that the error dialogs can say in plain words what failed.
void LogFailedCall(LPCSTR call, LPCSTR object, DWORD error);
