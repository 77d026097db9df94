// The setup toolkit's operations as the programs and our toolkit libraries
// see them, declared from the tables of contract/exports.h. Result prefixes: F non-zero is success;
// Cb a text length without terminator (at or above the buffer size: did not
// fit; CbGetInfSectionKeyField -1: no such field); Lcb a byte count, negative
// on failure; Us a count; Grc 0 success, positive failure; Ynrc 0 failure.
#pragma once

#include "platform/win32.h"

#ifdef _WIN32
#define STFAPI __stdcall
#else
#define STFAPI
#endif

// Copy-mode and option words ("cmo") understood by the install library; bits
// an operation does not name are ignored by it.
#define cmoNone 0x0000        // no option
#define cmoVital 0x0001       // a failure is reported as fatal (logged; the caller decides)
#define cmoOverwrite 0x0002   // FCopyOneFile, FCreateProgManItem(Ex): replace an existing
                              // target or item; without it an existing one stays (success)
#define cmoRestart 0x0004     // FCopyOneFile, YnrcRemoveFile: a target in use is replaced
                              // (removed) at the next boot and joins the restart list
#define cmoForceWrite 0x0400  // FCreateIniKeyValue, FCreateSysIniKeyValue: replace an
                              // existing value; without it an existing value stays (success)

// What a dialog's answer means, handed to the toolkit by the program
// (StfSetDialogAnswers), which knows its dialogs: the answer when nobody
// answers (quiet and passive runs: the default button), and the outcome of
// the run (the core's stf::RunOutcome values) that an answer decides. A
// dialog without a row continues and decides nothing.
typedef struct {
  UINT idDlg;
  LPCSTR szDefault;   // the event word when nobody answers
  LPCSTR szRestart;   // instead, when the command line chose a restart (null: szDefault)
  UINT nDecidingSum;  // the event sum of the answer that decides nOnSum (0: every answer)
  INT nOnSum;         // the outcome that answer decides
  INT nOtherwise;     // the outcome any other answer decides
  LPCSTR szDetail;    // what decided a failure or a nothing-to-remove, for the log (or null)
} STF_DIALOG_ANSWER;

// The operations, from the tables of contract/exports.h.
extern "C" {
#define STF_OP(result, name, parameters, arguments, fake) result STFAPI name parameters;
#define STF_OWN(result, name, parameters, arguments)
#define STF_BYNAME(result, name, parameters, arguments)
#include "contract/exports.h"
}  // extern "C"
