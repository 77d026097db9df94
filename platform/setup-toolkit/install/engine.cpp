// The install engine's lifetime, the billboard list and the gauge's place.
#include <vector>

#include "platform/setup-toolkit/install/install_state.h"
#include "platform/setup-toolkit/install/progress_gauge.h"

static std::vector<Billboard> billboards;
static bool engineOpen = false;

const std::vector<Billboard>& RegisteredBillboards() { return billboards; }

extern "C" {

BOOL STFAPI FInitializeInstall(HINSTANCE, HWND) {
  engineOpen = true;
  return TRUE;
}

// A copy still pending is final once the install ends.
BOOL STFAPI TerminateInstall(void) {
  FCommitCopyList();
  engineOpen = false;
  billboards.clear();
  return TRUE;
}

BOOL STFAPI ResetCopyList(void) {
  StfClearCopyList();
  return TRUE;
}

// The ticks weigh one billboard against another when several share a copy
// (see billboard_show.h); with one billboard it is shown for the whole copy.
BOOL STFAPI FAddToBillboardList(LPCSTR dll, UINT id, LPCSTR proc, LONG ticks) {
  if (ticks <= 0) return FALSE;
  billboards.push_back({dll ? dll : "", id, proc ? proc : "", ticks});
  return TRUE;
}

BOOL STFAPI FClearBillboardList(void) {
  billboards.clear();
  return TRUE;
}

BOOL STFAPI ProSetPos(INT x, INT y) {
  SetGaugePosition(x, y);
  return TRUE;
}

}  // extern "C"
