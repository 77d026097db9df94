// The log, the boxes' modes and the restart, guarded or passed through. Each wrapper is its toolkit
// operation's guarded form; one file per concern, so that a program imports
// only the operations of the wrappers it calls.
#include "toolkit/wrappers.h"

#include "support/guarded.h"
#include "contract/toolkit_api.h"

void OpenSetupLog(LPCSTR file, BOOL append) { Guarded<FOpenLogFile>(file, append); }
void CloseSetupLog(void) { Guarded<FCloseLogFile>(); }
void ChooseRestartDirectory(LPCSTR dir) { Guarded<FSetRestartDir>(dir); }
void WriteSetupLog(LPCSTR text) { Guarded<FWriteToLogFile>(text, TRUE); }
BOOL SwitchBeeping(BOOL beep) { return FSetBeepingMode(beep); }
BOOL SwitchSilentMode(BOOL silent) { return FSetSilent(silent); }
BOOL IsRestartQueueEmpty(void) { return FRestartListEmpty(); }
BOOL ExitAndRestart(void) { return FExitExecRestart(); }
