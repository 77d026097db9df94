// The windows' language, as the frame chose it, for the dialog library.
#include <cstdlib>

#include "platform/setup-toolkit/stf_internal.h"

extern "C" WORD STFAPI StfLanguageId(void) {
  char value[16] = "";
  if (CbGetSymbolValue(STF_SYM_LANGUAGE, value, sizeof value) >= static_cast<INT>(sizeof value)) {
    return 0;
  }
  return static_cast<WORD>(std::strtoul(value, nullptr, 10));
}
