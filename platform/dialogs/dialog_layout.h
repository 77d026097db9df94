// How every dialog of the library presents itself when it opens.
#pragma once

#include "platform/win32.h"

// A static control that shows text (not an icon or a picture).
bool IsText(HWND child);

// Sizes each text control to the height its text takes in the dialog's font,
// moving what lies below it and resizing the dialog: a font wider than the one
// the template was laid out with never clips, and paragraphs keep the
// template's spacing in any font. A hidden text closes up with the gap below it.
void FitTexts(HWND hdlg);

// Widens the buttons to the words they show (a language's longer words), all
// alike, keeping the row's right edge and its gaps.
void FitButtons(HWND hdlg);

// Centres the dialog in the work area of the screen.
void CentreOnScreen(HWND hdlg);

// Gives the default push button the focus; false when the dialog has none.
bool FocusDefaultButton(HWND hdlg);

// Puts the system icon into the template's icon control, if it has one.
void ShowTemplateIcon(HWND hdlg);
