// The error dialogs name the failure the toolkit knows.
#pragma once

#include "platform/win32.h"

// For a template with an IDC_CAUSE control: the cause, the advice and the
// note when the toolkit knows a cause, the no-cause texts otherwise, and the
// log's path when a log is written. Controls left without a text are hidden;
// FitTexts closes the gaps they leave.
void ShowFailure(HWND hdlg);
