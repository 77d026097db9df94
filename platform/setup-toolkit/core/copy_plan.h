// Turns a file section of an INF into the list of copies to make, and sums
// what the copies cost per destination drive. Paths are 8-bit ANSI Windows
// paths with backslashes; pass the code page's lead-byte test so that a trail
// byte of 0x5C is not taken for a backslash.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ansi_text.h"
#include "dbcs_path.h"
#include "path_syntax.h"
#include "file_record.h"
#include "inf_parser.h"

namespace stf {

struct CopyEntry {
  std::string sourcePath;  // source dir + record.diskName
  std::string destPath;    // destination dir + record.installName
  FileRecord record;       // names, declared size, description, flags, version, INF line
};

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

struct DriveCost {
  std::string drive;  // as DriveOfPath gives it
  std::uint64_t bytes = 0;
};

// Adds item n (from 1) of an extra-cost list to the costs: "C=12345" (or
// "C:=12345") for a drive, or a plain number where item n stands for drive
// letter n (A = 1), the layout of a 26-item extra-cost list. Items that name
// no drive or no positive count add nothing.
void AddExtraCost(const std::string& item, unsigned n, std::vector<DriveCost>* costs);

// Declared bytes per destination drive, in order of first appearance. UNC
// roots compare without ASCII case; sums stop at UINT64_MAX.
std::vector<DriveCost> CopyListCost(const std::vector<CopyEntry>& entries,
                                    LeadBytePredicate isLead);

}  // namespace stf
