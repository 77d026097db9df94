// What a message box offers and answers, decided from its MB_ style as
// Windows' MessageBox decides it: the buttons, the default one, what Esc and
// the close box answer, and the answer of a run that shows no window.
#pragma once

namespace stf {

// The answers, as MessageBox returns them (IDOK, IDCANCEL, ...).
enum BoxAnswer { kBoxNone = 0, kBoxOk = 1, kBoxCancel = 2, kBoxRetry = 4, kBoxYes = 6, kBoxNo = 7 };

struct BoxButtons {
  BoxAnswer buttons[3] = {kBoxOk, kBoxNone, kBoxNone};  // left to right
  int count = 1;
  BoxAnswer preferred = kBoxOk;   // the default button (MB_DEFBUTTONn, else the first)
  BoxAnswer escape = kBoxOk;      // Esc and the close box; kBoxNone: they do nothing
  BoxAnswer unattended = kBoxOk;  // nobody to ask: the default, but Cancel for a Retry
};

// For the button sets the toolkit asks with (MB_OK, MB_OKCANCEL, MB_YESNO,
// MB_YESNOCANCEL, MB_RETRYCANCEL); any other set is shown as OK alone.
BoxButtons ButtonsOfBox(unsigned style);

}  // namespace stf
