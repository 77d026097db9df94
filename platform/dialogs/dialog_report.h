// Problems the library meets, told to the debugger's output (DebugView, or
// Wine's "+debugstr" channel), with the dialog and the system's error code.
#pragma once

#include "platform/win32.h"

// The dialog number the toolkit gave hdlg, or 0 when it gave none.
UINT DialogNumber(HWND hdlg);

// Writes "mscuistf: dialog N: <what> (error E)" to the debugger's output.
void ReportProblem(HWND hdlg, LPCSTR what, DWORD error);
