// The files of the setup log, opened by the rules of log_file_rules.h.
#pragma once

#include <string>

#include "platform/setup-toolkit/stf_internal.h"
#include "setup_log.h"

// Opens path (CreateFileA's disposition: OPEN_ALWAYS, CREATE_NEW) without
// following a link, and checks the file found there. INVALID_HANDLE_VALUE
// with *why set when the rules refuse the file, else with *error (the Win32
// error) when Windows cannot open it.
HANDLE OpenCheckedFile(const std::string& path, DWORD disposition, std::string* why,
                       DWORD* error);

// Makes the open file the process's log (emptied first unless append); the
// log owns the handle from then on, and closes it on a failure.
bool AttachLog(HANDLE file, bool append);
