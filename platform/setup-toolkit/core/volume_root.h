// The root of the volume a path lies on, as Windows NT 4.0 knows volumes
// (no mount points): a drive or a network share.
#pragma once

#include <string>

#include "ansi_text.h"

namespace stf {

// "C:\" for "C:\DIR\FILE", "\\SERVER\SHARE\" for "\\SERVER\SHARE\DIR";
// empty for a relative path or an incomplete share name.
std::string VolumeRootOf(const std::string& path, LeadBytePredicate isLead);

}  // namespace stf
