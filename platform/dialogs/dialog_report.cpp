#include "platform/dialogs/dialog_report.h"

#include "platform/setup-toolkit/stf_internal.h"

UINT DialogNumber(HWND hdlg) {
  return static_cast<UINT>(reinterpret_cast<UINT_PTR>(GetPropA(hdlg, STF_PROP_DIALOG_ID)));
}

void ReportProblem(HWND hdlg, LPCSTR what, DWORD error) {
  char line[1024];  // what wsprintfA writes at most
  wsprintfA(line, "mscuistf: dialog %u: %s (error %lu)\n", DialogNumber(hdlg), what,
            static_cast<unsigned long>(error));
  OutputDebugStringA(line);
}
