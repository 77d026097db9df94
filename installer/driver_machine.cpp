// A kernel driver built for another machine than the one Windows runs on can
// never load: such a disk is refused before anything is changed.
#include "installer/installer.h"
#include "resources/product.h"
#include "support/image_machine.h"
#include "support/path_join.h"
#include "support/setup_paths.h"
#include "toolkit/setup_lifecycle.h"
#include "contract/toolkit_api.h"

static const char kDriverFile[] = DRIVER_FILE_NAME;
static const char kCaption[] = "Merlox IDE CD-ROM Drive Setup";

void EnsureDriverCanLoad(void) {
  char path[SETUP_PATH_SIZE + sizeof kDriverFile];
  lstrcpyA(path, SetupPaths.SourceDir);
  AppendBackslash(path);
  lstrcatA(path, kDriverFile);

  // A driver missing from the disk is named with every other missing file.
  WORD image = ReadImageMachine(path);
  WORD native = NativeMachine();
  if (image == IMAGE_MACHINE_UNREADABLE || image == native) return;

  char text[512];
  if (image == IMAGE_FILE_MACHINE_UNKNOWN) {
    wsprintfA(text,
              "The driver file %s on the setup disk is not a Windows driver.\n\n"
              "Setup has changed nothing on this computer.",
              kDriverFile);
  } else {
    wsprintfA(text,
              "The driver on the setup disk (%s) is made for %s Windows. This computer runs "
              "%s Windows, which cannot load it.\n\n"
              "Setup has changed nothing on this computer. To install the drive, use a disk "
              "with the driver for %s Windows.",
              kDriverFile, MachineName(image), MachineName(native), MachineName(native));
  }
  DoMsgBox(text, kCaption, MB_ICONHAND);
  FatalSetupError();
}
