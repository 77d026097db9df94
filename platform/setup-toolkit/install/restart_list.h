// The restart list: what this process has queued for the system to do at the
// next boot (MoveFileExA with MOVEFILE_DELAY_UNTIL_REBOOT, which Windows keeps
// in the PendingFileRenameOperations value of the Session Manager key).
#pragma once

#include <string>

#include "platform/setup-toolkit/stf_internal.h"

// Is the error what a write to a file that is open elsewhere gives?
bool IsBusyError(DWORD error);
// Copies src to a staging file beside target (or in the restart directory when
// that is on the same volume) and queues it to replace target at the next boot.
// False, with the last error set and logged, when staging or queueing fails.
bool QueueReplaceAtBoot(const std::string& src, const std::string& target);
// Queues target to be deleted at the next boot.
bool QueueRemoveAtBoot(const std::string& target);
