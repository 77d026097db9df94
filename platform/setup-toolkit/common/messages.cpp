// Message boxes and error reports over the frame; in quiet mode they go to
// the log only, so that no window waits for a person.
#include <string>

#include "platform/setup-toolkit/common/common_state.h"
#include "setup_log.h"

static BOOL beeping = TRUE;
static BOOL silent = FALSE;

extern "C" {

INT STFAPI DoMsgBox(LPCSTR text, LPCSTR caption, UINT style) {
  // A box with the stop icon tells of a failure: an error record, and its
  // text the cause that the error dialog repeats.
  const std::string told = std::string(caption ? caption : "") + ": " + (text ? text : "");
  if ((style & MB_ICONMASK) == MB_ICONHAND) {
    stf::FailureCause cause;
    cause.text = text ? text : "";
    LogFailure("Error: " + told, cause);
  } else {
    LogRecord("Message: " + told);
  }
  if (StfQuiet() || silent) return IDOK;
  if (beeping) MessageBeep(style & MB_ICONMASK);
  return MessageBoxA(GetActiveWindow(), text, caption, style | MB_TASKMODAL);
}

INT STFAPI EercErrorHandler(INT grc, BOOL vital, LPCSTR sz1, LPCSTR sz2, LPCSTR sz3) {
  DWORD code = GetLastError();
  std::string what = sz1 ? sz1 : "an operation";
  if (sz2 && sz2[0]) what += std::string(" ") + sz2;
  if (sz3 && sz3[0]) what += std::string(" ") + sz3;
  std::string text = "Setup could not complete the operation " + what + " (code " +
                     std::to_string(grc) + ").";
  StfLogError(text.c_str(), code);
  if (!StfQuiet() && !silent) {
    char system[512];
    std::string shown = text + "\n\n" + StfErrorText(code, system, sizeof system);
    MessageBoxA(GetActiveWindow(), shown.c_str(), StfErrorCaption().c_str(),
                MB_OK | (vital ? MB_ICONHAND : MB_ICONEXCLAMATION) | MB_TASKMODAL);
  }
  // The one answer a report can have here: the operation is not retried.
  return 0;
}

BOOL STFAPI FSetBeepingMode(BOOL beep) {
  BOOL previous = beeping;
  beeping = beep;
  return previous;
}

BOOL STFAPI FSetSilent(BOOL value) {
  BOOL previous = silent;
  silent = value;
  return previous;
}

}  // extern "C"
