#include "platform/internal_failure.h"

#include <cstdlib>

#include "platform/win32.h"

namespace {

InternalFailureHandler handler = nullptr;
bool failing = false;
// Given back before the handler runs, so that the fatal path has room to log and undo.
void* reserve = std::malloc(64 * 1024);

}  // namespace

void SetInternalFailureHandler(InternalFailureHandler h) { handler = h; }

void InternalFailure(const char* what, unsigned long code) {
  if (!failing) {  // a second failure on the way out ends the process
    failing = true;
    std::free(reserve);
    reserve = nullptr;
    if (handler != nullptr) handler(what, code);
    typedef void(__stdcall * Forward)(const char*, unsigned long);
    HMODULE common = GetModuleHandleA("MSCOMSTF.dll");
    Forward forward = common == nullptr ? nullptr
                                        : reinterpret_cast<Forward>(reinterpret_cast<void*>(
                                              GetProcAddress(common, "StfInternalFailure")));
    if (forward != nullptr) forward(what, code);
  }
  std::abort();
}
