// The copy job: puts a list of files in place as one transaction, asking its
// host (copy_host.h) for every file call and every word to the person, the
// way a file queue reports to its caller's callback.
//
//  1. A copy that a killed run left behind (its journal lies in a
//     destination directory) is completed or rolled back, when its journal
//     proves itself; staging folders that no journal names are removed.
//  2. Every source is looked up and the free space on each destination
//     volume is checked against what the new files need.
//  3. Each file is staged: copied to a new file in a staging directory
//     inside its destination directory, and flushed. A source below the
//     required version is refused (a wrong disk); an installed file newer
//     than the source, or with a version where the source has none, is kept
//     (the person is asked, keeping is the default; quiet: kept).
//  4. With every file staged, all are put in place; a failure there puts
//     every old file back.
//  5. The old files, the staging directories and the journal are removed;
//     or, for a caller that may still undo the copy, kept (copy_recovery.h).
// A failed file is retried when the person asks, skipped (and logged) when
// it is not vital, and otherwise stops the copy; a stopped copy removes what
// it staged, so the destination holds exactly the old set.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "ansi_text.h"
#include "copy_host.h"
#include "copy_recovery.h"
#include "sha256.h"

namespace stf {

// GrcCopyFilesInCopyList's results: 0 is success, each failure has its own code.
enum CopyResult : int {
  grcOkay = 0,
  grcUserAbort = 1,      // the person chose Cancel after a failure
  grcSourceMissing = 2,  // a file of the copy list is not on the disk
  grcCannotWrite = 3,    // the destination cannot be created or written
  grcDiskFull = 4,       // the destination has not enough space
  grcUnsafeName = 5,     // a target name would leave its directory
  grcReadError = 6,      // a source file could not be read
  grcNoBillboard = 7,    // the billboard dialog could not be shown
  grcWrongVersion = 8,   // a source is below its required version (a wrong disk)
  grcChangedDisk = 9,    // a source differs from the disk's manifest or its signature (a changed disk)
};

// What the disk's manifest says a source puts in place (expanded, when it
// is compressed). Plain C layout: the install library has it from the common one.
struct ExpectedBytes {
  bool listed = false;  // the manifest names the source
  std::uint64_t size = 0;
  unsigned char digest[kSha256Size] = {};
};

struct CopyItem {
  std::string source;
  std::string target;
  bool vital = true;
  std::string requiredVersion;  // dotted, or empty for none
  ExpectedBytes expected;
};

struct CopyJob {
  std::vector<CopyItem> items;
  std::vector<long> billboardTicks;  // one per registered billboard, in order
  bool quiet = false;                // nobody to ask
  // The setup program is signed: a source the manifest does not list, or
  // whose staged bytes differ from it, stops the copy before anything
  // changes. Unsigned, an unlisted source is copied (and logged), and one
  // that differs is a damaged disk, read again when the person asks.
  bool diskSigned = false;
  // A driver put back as it was before an update: the older file is the one
  // wanted, so no installed version keeps it out.
  bool restoring = false;
  std::uint32_t tag = 0;             // makes this run's staging names its own
  LeadBytePredicate isLead = nullptr;
  std::size_t chunkBytes = 256 * 1024;
};

// Returns a CopyResult. After success the billboard is left up for the
// caller; after a failure it has been taken down. With pending, a successful
// copy keeps the files it replaced there, for FinishCopy or UndoCopy, and
// pending->changes counts the files it put in place.
int RunCopyJob(const CopyJob& job, FileSystem& fs, CopyUser& user,
               PendingCopy* pending = nullptr);

}  // namespace stf
