// Results of GrcCopyFilesInCopyList: 0 is success, each failure kind has
// its own positive code.
#pragma once

#define grcOkay 0
#define grcUserAbort 1        // the user chose Cancel after a failed file
#define grcSourceMissing 2    // a file of the copy list is not on the disk
#define grcCannotWrite 3      // the destination cannot be created or written
#define grcDiskFull 4         // the destination ran out of space
#define grcUnsafeName 5       // a target name would leave its directory
#define grcReadError 6        // a source file could not be read
#define grcNoBillboard 7      // the billboard dialog could not be shown
