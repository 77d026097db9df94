// Message boxes and error reports over the frame; in quiet mode they go to
// the log only, so that no window waits for a person.
#include <string>

#include "platform/setup-toolkit/common/common_state.h"
#include "setup_log.h"
#include "platform/setup-toolkit/language_resources.h"

static BOOL silent = FALSE;

// Every box is recorded in English: a box with the stop icon tells of a
// failure (an error record, and its text the cause that the error dialog
// repeats), any other is a message. False when no window is to show it.
static bool TellBox(const stf::FailureCause& cause, LPCSTR caption, UINT style) {
  const std::string told = std::string(caption ? caption : "") + ": " + cause.text;
  if ((style & MB_ICONMASK) == MB_ICONHAND) {
    LogFailure("Error: " + told, cause);
  } else {
    LogRecord("Message: " + told);
  }
  return !StfQuiet() && !silent;
}

static std::wstring Spoken(UINT id, LPCWSTR english) {
  WCHAR text[4096];
  StfLanguageText(id, english, text, 4096);
  return text;
}

void ReportProblem(const std::string& text) {
  LogRecord("Error: " + text);
  if (!StfQuiet())
    StfShowBox(GetActiveWindow(), StfWideText(text).c_str(), SpokenTitle(true).c_str(),
               MB_OK | MB_ICONHAND | MB_TASKMODAL);
}

extern "C" {

INT STFAPI DoMsgBox(LPCSTR text, LPCSTR caption, UINT style) {
  stf::FailureCause cause;
  cause.text = text ? text : "";
  if (!TellBox(cause, caption, style)) return IDOK;
  return StfShowBox(GetActiveWindow(), SpokenText(cause.text).c_str(),
                    SpokenText(caption ? caption : "").c_str(), style | MB_TASKMODAL);
}

INT STFAPI StfLanguageBox(UINT idText, UINT idCaption, LPCSTR text, LPCSTR caption, LPCSTR first,
                          LPCSTR second, LPCSTR third, UINT style) {
  stf::FailureCause cause;
  cause.text = text ? text : "";
  cause.textId = idText;
  LPCSTR given[] = {first, second, third};
  std::wstring inserts[3];
  for (int i = 0; i < 3; ++i) {
    cause.textInserts[i] = given[i] ? given[i] : "";
    inserts[i] = StfWideText(cause.textInserts[i]);
  }
  if (!TellBox(cause, caption, style)) return IDOK;
  std::wstring shown = Spoken(idText, L"");
  shown = shown.empty() ? StfWideText(cause.text) : StfFillText(shown, inserts, 3);
  const std::wstring title = Spoken(idCaption, StfWideText(caption ? caption : "").c_str());
  return StfShowBox(GetActiveWindow(), shown.c_str(), title.c_str(), style | MB_TASKMODAL);
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
    const std::wstring inserts[] = {StfWideText(what), StfWideText(std::to_string(grc))};
    const std::wstring shown =
        StfFillText(Spoken(IDS_STF_OPERATION_FAILED,
                           L"Setup could not complete the operation %1 (code %2)."),
                    inserts, 2) +
        L"\n\n" + StfWideText(StfErrorText(code, system, sizeof system));
    StfShowBox(GetActiveWindow(), shown.c_str(), SpokenTitle(true).c_str(),
               MB_OK | (vital ? MB_ICONHAND : MB_ICONEXCLAMATION) | MB_TASKMODAL);
  }
  // The one answer a report can have here: the operation is not retried.
  return 0;
}

BOOL STFAPI FSetSilent(BOOL value) {
  BOOL previous = silent;
  silent = value;
  return previous;
}

}  // extern "C"
