// The frame's About box, apart: a program that shows none imports nothing for it.
#include "toolkit/setup_lifecycle.h"

#include "support/guarded.h"
#include "contract/toolkit_api.h"

void SetFrameAbout(LPCSTR text, LPCSTR caption) {
  Guarded<FSetAbout>(text, caption);
}
