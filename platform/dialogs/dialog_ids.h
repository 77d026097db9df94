// Dialog numbers, captions and button identifiers of the dialog library,
// shared with the test robot that presses the buttons.
#pragma once

#define DLG_WELCOME 100
#define DLG_QUIT 200
#define DLG_FATAL 400
#define DLG_RESTART 700
#define DLG_REGISTRATION_FAILED 900
#define DLG_BILLBOARD 5000
#define DLG_NO_WINDOWS_DIR 6400
#define BMP_FRAME 1

// Buttons: the same identifier means the same event word in every dialog.
#define IDC_CONTINUE 1  // "CONTINUE" (IDOK: Enter)
#define IDC_CANCEL 2    // "CANCEL"   (IDCANCEL: Esc)
#define IDC_EXIT 3      // "EXIT"
#define IDC_RESTART 4   // "RESTART"
