// Dialog numbers, captions and button identifiers of the dialog library,
// shared with the test robot that presses the buttons.
#pragma once

#define DLG_WELCOME 100
#define DLG_QUIT 200
#define DLG_FATAL 400
#define DLG_RESTART 700
#define DLG_INSTALLED 710  // nothing changed and the driver runs: no restart
#define DLG_REGISTRATION_FAILED 900
#define DLG_BILLBOARD 5000
#define DLG_NO_WINDOWS_DIR 6400
#define BMP_FRAME 1

// The uninstaller's dialogs.
#define DLG_REMOVE_CONFIRM 150
#define DLG_REMOVED_RESTART 750
#define DLG_REMOVED 760
#define DLG_NOT_INSTALLED 950

// Buttons: the same identifier means the same event word in every dialog.
#define IDC_CONTINUE 1  // "CONTINUE" (IDOK: Enter)
#define IDC_CANCEL 2    // "CANCEL"   (IDCANCEL: Esc)
#define IDC_EXIT 3      // "EXIT"
#define IDC_RESTART 4   // "RESTART"

// What the programs act on: the sum of an event word's first two characters
// as signed bytes ("CANCEL", "CONTINUE", "RESTART", "EXIT").
#define EVENT_SUM_CANCEL 132
#define EVENT_SUM_CONTINUE 146
#define EVENT_SUM_RESTART 151
#define EVENT_SUM_EXIT 157

// Captions, so that the robot can also find a dialog by its title.
#define CAPTION_SETUP "Merlox IDE CD-ROM Drive Setup"
#define CAPTION_QUIT "Exit Merlox IDE CD-ROM Drive Setup"
#define CAPTION_ERROR "Merlox IDE CD-ROM Drive Setup Error"
#define CAPTION_REMOVE "Remove Merlox IDE CD-ROM Drive"

// Static controls. A template asks for a system icon by the id of its icon
// control; the procedure loads the icon when the dialog opens.
#define IDC_TEXT_1 101
#define IDC_TEXT_2 102
#define IDC_TEXT_3 103
// The error dialogs (400, 900) ask for the toolkit's account of the failure
// by having these: the cause and the advice, a note shown with them, the
// texts shown when no cause is known instead, and the log's path ("%s").
#define IDC_CAUSE 104
#define IDC_ADVICE 105
#define IDC_CAUSE_NOTE 106
#define IDC_NO_CAUSE_1 107
#define IDC_NO_CAUSE_2 108
#define IDC_LOG 109
#define IDC_PICTURE 110       // the frame bitmap on the billboard
#define IDC_ICON_INFO 120     // IDI_ASTERISK
#define IDC_ICON_QUESTION 121 // IDI_QUESTION
#define IDC_ICON_WARNING 122  // IDI_EXCLAMATION
#define IDC_ICON_ERROR 123    // IDI_HAND
