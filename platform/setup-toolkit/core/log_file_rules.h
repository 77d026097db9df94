// Whether setup may write its log (or another file it creates where users can
// write) at a name, from what the system says about the file opened there. An
// elevated setup that writes through a link, or into a file another user owns
// or shares by a second name, can be made to change a file only
// administrators may change.
#pragma once

#include <string>

#include "dbcs_path.h"

namespace stf {

enum class FileOwner {
  kTrusted,   // Administrators, SYSTEM, or the user setup runs as
  kOther,     // any other account
  kUnknown,   // the volume keeps no owners (FAT): nothing to go by
};

struct OpenedFileFacts {
  bool identified = true;       // the system told what the file is (the fields below)
  bool isDirectory = false;
  bool isReparsePoint = false;  // a symbolic link, junction or mount point
  unsigned long linkCount = 1;  // names of the file (hard links)
  FileOwner owner = FileOwner::kTrusted;
  bool elevated = false;        // setup runs with the Administrators group enabled
};

// Empty when setup may write to the file; else why not, as a sentence that
// follows the file's name ("is a folder, not a file").
std::string WriteRefusal(const OpenedFileFacts& facts);

// The name of a run's own log: "<program> 20261209-061502.log", and
// "<program> 20261209-061502 (2).log" from the second try on. Characters that
// cannot be in a file name become '_' (never the trail byte of a double-byte
// character).
struct LocalTime {
  int year, month, day, hour, minute, second;
};
std::string RunLogName(const std::string& program, const LocalTime& time, int attempt,
                       LeadBytePredicate isLead);

}  // namespace stf
