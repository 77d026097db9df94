// Lines the program adds to the toolkit's setup log. Without a log they go
// nowhere, which is no failure. Texts are never cut: a path of any length is
// written whole.
#pragma once

#include <string>

#include "platform/win32.h"

void LogText(const std::string& text);
// "Error: <what> (error N: <the system's text>)": the cause the outcome names.
void LogWin32Failure(const std::string& what, DWORD error);
// "Error: <call> <object> (error N: ...)", where the toolkit keeps the call and
// its object apart, so that the error dialogs can say in plain words what failed.
void LogFailedCall(const std::string& call, const std::string& object, DWORD error);
