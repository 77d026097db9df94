// Turns a file section of an INF into the list of copies to make, and sums
// what the copies cost per destination drive. Paths are 8-bit ANSI Windows
// paths with backslashes; pass the code page's lead-byte test so that a trail
// byte of 0x5C is not taken for a backslash.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ansi_text.h"
#include "file_record.h"
#include "inf_parser.h"

namespace stf {

// Longest path the ANSI file functions accept (260 including the NUL). Counted
// in bytes, which are never fewer than characters.
constexpr std::size_t kMaxPathBytes = 259;

struct CopyEntry {
  std::string sourcePath;  // source dir + record.diskName
  std::string destPath;    // destination dir + record.installName
  FileRecord record;       // names, declared size, description, flags, version, INF line
};

// Is name a plain file name that stays in its directory? False, with *problem
// saying why, for: empty; '\' or '/'; "." or ".."; ':' (drive prefixes, streams);
// <>"|?* or control characters; a trailing dot or blank; a DOS device name
// (CON, PRN, AUX, NUL, CLOCK$, COM1-9, LPT1-9, with or without an extension);
// a lead byte with no trail byte.
bool IsSafeFileName(const std::string& name, LeadBytePredicate isLead, std::string* problem);

// dir + '\' + name, leaving out the backslash when dir is empty or already
// ends in a real one.
std::string JoinPath(const std::string& dir, const std::string& name, LeadBytePredicate isLead);

// The entry for one line of a file section: reads the record, checks both
// names, joins the paths. Errors name inf.path and the line.
bool PlanCopyLine(const InfFile& inf, const InfLine& line, const std::string& sourceDir,
                  const std::string& destDir, LeadBytePredicate isLead, CopyEntry* out,
                  InfError* err);

// Entries for every line of a section, in file order. Fails on a missing
// section (line 0), on any bad line, and when two lines install to the same
// destination path (compared without ASCII case).
bool PlanCopyList(const InfFile& inf, const std::string& section, const std::string& sourceDir,
                  const std::string& destDir, LeadBytePredicate isLead,
                  std::vector<CopyEntry>* out, InfError* err);

// The directory part of path, up to and including its last real backslash
// ("" when there is none), and the rest.
void SplitPath(const std::string& path, LeadBytePredicate isLead, std::string* dir,
               std::string* name);

// Length of "C:\" or "\\server\share\" at the start of path; 0 when relative.
std::size_t RootLength(const std::string& path, LeadBytePredicate isLead);

// Takes the first component off *rest, up to its first real backslash.
std::string TakeComponent(std::string* rest, LeadBytePredicate isLead);

// "C" for "c:\dir", "\\server\share" for a UNC path, "" for a relative path.
std::string DriveOfPath(const std::string& path, LeadBytePredicate isLead);

struct DriveCost {
  std::string drive;  // as DriveOfPath gives it
  std::uint64_t bytes = 0;
};

// Declared bytes per destination drive, in order of first appearance. UNC
// roots compare without ASCII case; sums stop at UINT64_MAX.
std::vector<DriveCost> CopyListCost(const std::vector<CopyEntry>& entries,
                                    LeadBytePredicate isLead);

}  // namespace stf
