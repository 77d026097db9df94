#include "toolkit/dialogs.h"

#include "contract/toolkit_api.h"
#include "platform/setup-toolkit/core/event_sum.h"
#include "support/fatal_path.h"

UINT EventSum(LPCSTR word) { return stf::EventSum(word); }

INT PumpMessages(void) {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) FatalSetupError();
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}

void RunDialogEx(LPCSTR dll, UINT dialogId, LPCSTR proc, LPCSTR procDll, LONG procWord1,
                 LONG procWord2, LPSTR event, INT eventSize) {
  if (!FDoDialogExt(HwndFrame(), dll, dialogId, proc, procDll, procWord1, procWord2)) {
    FatalSetupError();
  }
  PumpMessages();
  ReadSymbolValue("DLGEVENT", event, eventSize);
}

void RunDialog(LPCSTR dll, UINT dialogId, LPCSTR proc, LPSTR event, INT eventSize) {
  RunDialogEx(dll, dialogId, proc, dll, 0, 0, event, eventSize);
}

void CloseDialogs(INT count) {
  if (!FKillNDialogs(count)) FatalSetupError();
  PumpMessages();
}

void CloseAllDialogs(void) {
  CloseDialogs(-1);
}

LPSTR ReadSymbolValue(LPCSTR name, LPSTR buffer, INT size) {
  if (name == nullptr || name[0] == '\0') FatalSetupError();
  if (CbGetSymbolValue(name, buffer, size) >= size) FailWithBufferOverflow();
  return buffer;
}
