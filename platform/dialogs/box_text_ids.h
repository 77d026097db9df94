// The texts of setup's refusals before it changes anything, shown with
// StfLanguageBox in the language of the windows: the product's, so they live
// with the dialog library's texts, and the programs read them as they read
// the dialog numbers. Plain defines: the resource compiler reads this file too.
#pragma once

#define STF_BOX_CAPTION_ID 16  // the dialog library's IDS_CAPTION_SETUP

#define IDS_STF_NOT_DRIVER_PACKED 1030  // %1: the disk's file, %3: what is wrong
#define IDS_STF_NOT_DRIVER_DATA 1031
#define IDS_STF_NOT_DRIVER_PROGRAM 1032
// The same for a disk's file that setup installs under the driver's name %2.
#define IDS_STF_NOT_DRIVER_PACKED_AS 1033
#define IDS_STF_NOT_DRIVER_DATA_AS 1034
#define IDS_STF_NOT_DRIVER_PROGRAM_AS 1035
#define IDS_STF_DRIVER_MACHINE 1036  // %1: the file, %2: its Windows, %3: this one's
#define IDS_STF_DISK_LACKS_ONE 1037  // %2: the file
#define IDS_STF_DISK_LACKS 1038      // %1: how many, %2: the files, a line each
#define IDS_STF_TOO_LONG 1039        // %1: the name or path, %2: the most characters setup can use
