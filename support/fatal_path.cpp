#include "support/fatal_path.h"

#include <cstdlib>

static const FatalPathHandlers* Handlers = nullptr;

void InstallFatalPath(const FatalPathHandlers* handlers) { Handlers = handlers; }

// Without handlers (a failure before the setup opened) no dialog can be
// shown: the process ends all the same, with a code that says it failed.
[[noreturn]] static void EndWithoutHandlers(void) { std::abort(); }

void FatalSetupError(void) {
  if (Handlers != nullptr) Handlers->fatal();
  EndWithoutHandlers();
}

void FailWithBufferOverflow(void) {
  if (Handlers != nullptr) Handlers->bufferOverflow();
  EndWithoutHandlers();
}

void FailWithMessage(LPCSTR text) {
  if (Handlers != nullptr) Handlers->message(text);
  EndWithoutHandlers();
}

void FailWithTooLong(LPCSTR role, LPCSTR value, int limit) {
  if (Handlers != nullptr) Handlers->tooLong(role, value, limit);
  EndWithoutHandlers();
}

void EndAfterRefusal(void) {
  if (Handlers != nullptr) Handlers->refused();
  EndWithoutHandlers();
}
