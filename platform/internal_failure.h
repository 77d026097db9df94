// A failure no code of ours can go on from: an allocation that fails, a
// container asked past its limit. Instead of ending the process at once, the
// run-time hands it to the program's handler, which takes the fatal path
// (undo, outcome, event, exit code); a library of ours hands it on to the
// common library (MSCOMSTF's StfInternalFailure), which hands it to the
// program's. A handler does not return; without one the process ends.
#pragma once

// what: "out of memory", ...; code: the Win32 error that stands for it.
using InternalFailureHandler = void (*)(const char* what, unsigned long code);

// This binary's handler; null forgets it.
void SetInternalFailureHandler(InternalFailureHandler handler);
[[noreturn]] void InternalFailure(const char* what, unsigned long code);
