// The file that becomes the driver service's image must be a kernel-mode
// driver that this Windows can load. It is checked before anything is
// changed, whatever its name on the disk and expanded when it is compressed,
// as the copy will expand it.
#include <string>

#include "installer/installer.h"
#include "resources/product.h"
#include "support/image_machine.h"
#include "support/path_join.h"
#include "support/setup_paths.h"
#include "toolkit/setup_lifecycle.h"
#include "contract/toolkit_api.h"
#include "platform/dialogs/box_text_ids.h"

static const char kDriverFile[] = DRIVER_FILE_NAME;
static const char kCaption[] = SETUP_TITLE;

// The disk's file that the plan installs as the driver; the driver's own
// name in the disk's folder when no entry installs it.
static std::string DriverSource(const InstallPlan& plan) {
  for (const PlannedFile& file : plan.driverFiles) {
    if (lstrcmpiA(FileNameOfPath(file.target.c_str()), kDriverFile) == 0) return file.source;
  }
  return std::string(SetupPaths.SourceDir) + (EndsInBackslash(SetupPaths.SourceDir) ? "" : "\\") +
         kDriverFile;
}

[[noreturn]] static void Refuse(UINT id, LPCSTR text, LPCSTR first, LPCSTR second,
                                LPCSTR third) {
  StfLanguageBox(id, STF_BOX_CAPTION_ID, text, kCaption, first, second, third, MB_ICONHAND);
  EndAfterRefusal();
}

// The reasons a file is no driver: the box's text for the driver's own name
// and for a file the copy renames to it, and the English of what is wrong.
enum NonDriver { kPacked, kData, kProgram };
static const struct {
  UINT id, idAs;
  LPCSTR what;
} kNonDriver[] = {
    {IDS_STF_NOT_DRIVER_PACKED, IDS_STF_NOT_DRIVER_PACKED_AS,
     "it is a compressed file that cannot be expanded (%s)"},
    {IDS_STF_NOT_DRIVER_DATA, IDS_STF_NOT_DRIVER_DATA_AS,
     "it holds text or other data, not a program"},
    {IDS_STF_NOT_DRIVER_PROGRAM, IDS_STF_NOT_DRIVER_PROGRAM_AS,
     "it is a Windows program or library, not a kernel-mode driver"},
};

static void RefuseNonDriver(LPCSTR source, NonDriver reason, LPCSTR problem = "") {
  const bool own = lstrcmpiA(source, kDriverFile) == 0;
  const std::string file =
      own ? "The driver file " + std::string(source) + " on the setup disk"
          : "The file " + std::string(source) +
                " on the setup disk, which setup would install as the driver " + kDriverFile + ",";
  std::string what = kNonDriver[reason].what;
  const std::size_t mark = what.find("%s");
  if (mark != std::string::npos) what.replace(mark, 2, problem);
  const std::string text =
      file + " is not a Windows driver: " + what +
      ".\n\nSetup has changed nothing on this computer. To install the drive, use a disk with "
      "the drive's driver for Windows NT, or copy the disk again from the original.";
  Refuse(own ? kNonDriver[reason].id : kNonDriver[reason].idAs, text.c_str(), source, kDriverFile,
         problem);
}

void EnsureDriverCanLoad(const InstallPlan& plan) {
  const std::string path = DriverSource(plan);
  const std::string found = FileNameOfPath(path.c_str());
  LPCSTR source = found.c_str();

  WORD image = 0, subsystem = 0, flags = 0;
  char problem[256] = "";
  DWORD error = StfReadImageKind(path.c_str(), &image, &subsystem, &flags, problem, sizeof problem);
  // A driver missing from the disk is named with every other missing file; one
  // that cannot be read is the copy's to report, with its name.
  if (error != 0 && error != ERROR_FILE_CORRUPT) return;
  if (error == ERROR_FILE_CORRUPT) RefuseNonDriver(source, kPacked, problem);
  if (image == IMAGE_FILE_MACHINE_UNKNOWN) RefuseNonDriver(source, kData);
  if (subsystem != IMAGE_SUBSYSTEM_NATIVE) RefuseNonDriver(source, kProgram);
  WORD native = NativeMachine();
  if (image == native) return;
  char made[16], runs[16];
  MachineName(image, made);
  MachineName(native, runs);
  const std::string text =
      "The driver on the setup disk (" + found + ") is made for " + made +
      " Windows. This computer runs " + runs + " Windows, which cannot load it.\n\n"
      "Setup has changed nothing on this computer. To install the drive, use a disk with the "
      "driver for " + runs + " Windows.";
  Refuse(IDS_STF_DRIVER_MACHINE, text.c_str(), source, made, runs);
}
