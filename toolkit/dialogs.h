// Dialogs of the dialog library, the message pump that runs after each, and
// guarded reads of toolkit symbols.
#pragma once

#include "platform/dialogs/dialog_ids.h"
#include "platform/win32.h"

// Event sums the install acts on: the first two characters of the word.
enum EventSumValue : UINT {
  kEventCancel = EVENT_SUM_CANCEL,
  kEventContinue = EVENT_SUM_CONTINUE,
  kEventRestart = EVENT_SUM_RESTART,
  kEventExit = EVENT_SUM_EXIT,
};

// The dialog library and the procedures, by the names it exports, that its
// dialogs run under: information and questions, the error dialogs (the fatal
// error, the Windows directory unreadable), the quit confirmation and the
// billboard.
#define DIALOG_LIBRARY "mscuistf.dll"
#define INFO_DIALOG_PROC "FInfoDlgProc"
#define ERROR_DIALOG_PROC "FInfo0DlgProc"
#define QUIT_DIALOG_PROC "FQuitDlgProc"
#define BILLBOARD_DIALOG_PROC "FModelessDlgProc"

// Tells the toolkit what each dialog's answer means and what it is when
// nobody answers (quiet and passive runs), before any dialog runs.
void HandDialogAnswers(void);

// Sum of the first two bytes as signed 8-bit codes, reduced to 16 bits.
UINT EventSum(LPCSTR word);

// Drains the thread's queue; a quit message takes the fatal path.
INT PumpMessages(void);
// Shows a dialog and reads DLGEVENT into the buffer; the dialog stays open.
// RunDialog hands the procedure no data words (ours read none); RunDialogEx
// passes procWord1 and procWord2 to it as they are.
void RunDialog(LPCSTR dll, UINT dialogId, LPCSTR proc, LPSTR event, INT eventSize);
void RunDialogEx(LPCSTR dll, UINT dialogId, LPCSTR proc, LPCSTR procDll, LONG procWord1,
                 LONG procWord2, LPSTR event, INT eventSize);
void CloseDialogs(INT count);
void CloseAllDialogs(void);
// The symbol's text; a value of size characters or more is fatal.
LPSTR ReadSymbolValue(LPCSTR name, LPSTR buffer, INT size);
