// placeholder until the copy's own version is merged
#include "platform/setup-toolkit/stf_internal.h"

extern "C" {

BOOL STFAPI FCommitCopyList(void) { return TRUE; }

BOOL STFAPI FUndoCopyList(void) {
  FWriteToLogFile("FUndoCopyList: undoing a copy is not available in this build", TRUE);
  return FALSE;
}

INT STFAPI UsCopyListChanges(void) { return 1; }

}  // extern "C"
