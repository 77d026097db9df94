// What Windows takes as a file name, a folder path or a full path, checked
// by whole characters (dbcs_path.h): the names setup writes must stay where
// they are meant to and be valid on every Windows it runs on.
#pragma once

#include <cstddef>
#include <string>

#include "ansi_text.h"

namespace stf {

// Longest path the ANSI file functions accept (260 including the NUL). Counted
// in bytes, which are never fewer than characters.
constexpr std::size_t kMaxPathBytes = 259;

// Is name a plain file name that stays in its directory? False, with *problem
// saying why, for: empty; '\' or '/'; "." or ".."; ':' (drive prefixes, streams);
// <>"|?* or control characters; a trailing dot or blank; a DOS device name
// (CON, PRN, AUX, NUL, CLOCK$, COM1-9, LPT1-9, with or without an extension);
// a lead byte with no trail byte.
bool IsSafeFileName(const std::string& name, LeadBytePredicate isLead, std::string* problem);

// Is path a folder below another one ("Merlox\\Tools"): components parted by
// '\\' or '/', none empty, "." or "..", ending in a dot or blank, or holding
// ':' *?"<>| or a control character? Not rooted.
bool IsSafeFolderPath(const std::string& path, LeadBytePredicate isLead);

// Is path a well-formed full path: a drive ("C:\\") or UNC root
// ("\\\\server\\share") and names a file may have, at most kMaxPathBytes? A
// directory may end in a backslash; a file may not.
bool IsValidFullPath(const std::string& path, bool directory, LeadBytePredicate isLead);

// A valid full path split into its volume ("C:", "\\\\server\\share"), its
// directory ("\\dir\\", "\\" for the root) and its file name.
struct PathPieces {
  std::string volume, directory, name;
};
bool SplitFullPath(const std::string& path, LeadBytePredicate isLead, PathPieces* out);

}  // namespace stf
