// The user's choice in a dialog, handed to the toolkit as an event word.
#pragma once

#include "platform/win32.h"

// Event words; the install reads the sum of their first two codes.
extern const char kWordContinue[];  // "CONTINUE", 146
extern const char kWordCancel[];    // "CANCEL", 132
extern const char kWordExit[];      // "EXIT", 157
extern const char kWordRestart[];   // "RESTART", 151

// The word of a button; null for a control that is no button of ours.
LPCSTR EventWordOfButton(int id);

// Hands the word to the toolkit. A showing gives one answer: once the toolkit
// has taken one, later clicks (a double click, a key held down) are ignored.
void ReportEvent(HWND hdlg, LPCSTR word);

// Drops what ReportEvent keeps on the window; for WM_DESTROY.
void ForgetAnswer(HWND hdlg);
