// The product as Windows shows it (Programs and Features, version resources)
// and the names that setup and the uninstaller share. Plain defines: the
// resource compiler reads this file too.
#pragma once

#define PRODUCT_NAME "Merlox IDE CD-ROM Drive"
#define PRODUCT_PUBLISHER "Merlox"
#define PRODUCT_VERSION_NUMBERS 1, 0, 0, 0
#define PRODUCT_VERSION_TEXT "1.0.0.0"
// The title of setup's windows and boxes.
#define SETUP_TITLE PRODUCT_NAME " Setup"

// The driver service and its image file in SYSTEM32\DRIVERS.
#define DRIVER_SERVICE_NAME "mlxidecd"
#define DRIVER_FILE_NAME "mlxidecd.SYS"

// The uninstall entry (in the registry view of 32-bit programs) and the
// product's own folder under Program Files, which holds the uninstaller and
// the libraries it needs.
#define UNINSTALL_KEY "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" PRODUCT_NAME
#define PRODUCT_FOLDER PRODUCT_NAME
#define UNINSTALLER_FILE "uninstall.exe"
// What the uninstaller needs beside it: it runs after the disk is gone.
#define UNINSTALLER_FILES                                                                 \
  UNINSTALLER_FILE, "MSSHLSTF.dll", "MSCOMSTF.dll", "MSINSSTF.dll", "MSUILSTF.dll",       \
      "MSDETSTF.dll", "mscuistf.dll"
