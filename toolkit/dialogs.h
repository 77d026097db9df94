// Dialogs of the dialog library, the message pump that runs after each, and
// guarded reads of toolkit symbols.
#pragma once

#include "platform/win32.h"

// Event sums the install acts on: the first two characters of the word.
enum EventSumValue : UINT {
  kEventCancel = 132,    // "CA..."
  kEventContinue = 146,  // "CO..."
  kEventRestart = 151,   // "RE..."
  kEventExit = 157,      // "EX..."
};

// Sum of the first two bytes as signed 8-bit codes, reduced to 16 bits.
UINT EventSum(LPCSTR word);

// Drains the thread's queue; a quit message takes the fatal path.
INT PumpMessages(void);
// Shows a dialog and reads DLGEVENT into the buffer; the dialog stays open.
void RunDialog(LPCSTR dll, UINT dialogId, LPCSTR proc, LONG data1, LONG data2, LPSTR event,
               INT eventSize);
void RunDialogEx(LPCSTR dll, UINT dialogId, LPCSTR proc, LPCSTR procDll, LONG data1, LONG data2,
                 LPSTR event, INT eventSize);
void CloseDialogs(INT count);
void CloseAllDialogs(void);
// The symbol's text; a value of size characters or more is fatal.
LPSTR ReadSymbolValue(LPCSTR name, LPSTR buffer, INT size);
