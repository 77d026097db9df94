// A file's size and SHA-256 as its bytes are now: what the uninstall entry
// records of each file setup placed, and what the uninstaller compares.
#pragma once

#include "platform/win32.h"
#include "support/install_record.h"

// Fills file's size and digest (path as given) from its bytes. ERROR_SUCCESS,
// or the error of the call that failed, named in *call.
DWORD DigestFile(LPCSTR path, PlacedFile* file, LPCSTR* call);
