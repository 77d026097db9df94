// The latest failure in plain words, for the dialog library's error dialogs:
// read from the cause that MSCOMSTF keeps when the first error record of a
// failure is written.
#include <cstdlib>
#include <string>

#include "failure_words.h"
#include "platform/setup-toolkit/stf_internal.h"

namespace {

std::string Symbol(LPCSTR name) {
  char value[2048] = "";
  return CbGetSymbolValue(name, value, sizeof value) < static_cast<INT>(sizeof value) ? value : "";
}


// Copies what fits, cut at a character boundary.
void Give(const std::string& text, LPSTR buffer, INT size) {
  if (buffer == nullptr || size <= 0) return;
  const char* end = text.data() + text.size();
  std::size_t n = 0;
  while (n < text.size()) {
    const std::size_t length = stf::CharLength(text.data() + n, end, StfIsLeadByte);
    if (n + length >= static_cast<std::size_t>(size)) break;
    n += length;
  }
  lstrcpynA(buffer, text.c_str(), static_cast<int>(n) + 1);
}

}  // namespace

extern "C" BOOL STFAPI StfFailureWords(LPSTR what, INT cbWhat, LPSTR advice, INT cbAdvice,
                                       LPSTR log, INT cbLog) {
  stf::FailureCause cause;
  cause.text = Symbol(STF_SYM_CAUSE_TEXT);
  cause.operation = Symbol(STF_SYM_CAUSE_OPERATION);
  cause.file = Symbol(STF_SYM_CAUSE_FILE);
  cause.code = std::strtoul(Symbol(STF_SYM_CAUSE_CODE).c_str(), nullptr, 10);
  char system[512];
  if (cause.code != 0) cause.codeText = StfErrorText(cause.code, system, sizeof system);
  const stf::FailureWords words = stf::DescribeFailure(cause, StfIsLeadByte);
  Give(words.what, what, cbWhat);
  Give(words.advice, advice, cbAdvice);
  Give(Symbol(STF_SYM_LOGFILE), log, cbLog);
  return words.what.empty() ? FALSE : TRUE;
}
