// How the run ends: the one-setup-at-a-time lock, the outcome line written
// once, and the exit code that unattended runs report.
#pragma once

#include <string>

#include "run_outcome.h"

// Holds the lock that keeps a second setup from running beside this one
// until the process ends. False: another setup holds it.
bool TakeRunLock();

// A run that ends before it starts (bad command line, help, another setup,
// no log): its outcome, which no later answer changes, and the reason for the
// outcome line.
void EndRunEarly(stf::RunOutcome outcome, const std::string& reason);

// Writes the run's event and its outcome line (the dialogs' decision, with the
// known cause of a failure) to the log and standard error; later calls do
// nothing.
void WriteFinalOutcome();
