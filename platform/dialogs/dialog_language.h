// The chosen language's texts, font and direction, put into a dialog as it
// opens: the texts go through the Unicode window functions, so that any
// language shows on any ANSI code page.
#pragma once

#include <string>

#include "platform/win32.h"

// The language's text of that id (dialog_texts.h, text_ids.h); English when
// the language's file lacks it.
std::wstring DialogText(UINT id);

// Sets the caption and every control's text of dialog number dialogId, the
// language's font when it is not the template's, and for a right-to-left
// language texts that read from the right (the toolkit mirrors the dialog
// where Windows can).
void ShowDialogTexts(HWND hdlg, UINT dialogId);

// Does the language read from the right? Its dialogs then answer
// WM_CTLCOLORSTATIC with StfReadFromRight.
bool RightToLeft();
