// The latest failure in plain words, for the dialog library's error dialogs:
// read from the run's cause that MSCOMSTF keeps when the first error record
// of a failure is written.
#include <string>

#include "failure_words.h"
#include "platform/setup-toolkit/stf_internal.h"

namespace {

std::string CausePart(INT part) {
  char value[2048] = "";
  return StfGetCausePart(part, value, sizeof value) < static_cast<INT>(sizeof value) ? value : "";
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

stf::FailureCause LatestCause() {
  stf::FailureCause cause;
  cause.text = CausePart(STF_CAUSE_TEXT);
  cause.operation = CausePart(STF_CAUSE_OPERATION);
  cause.file = CausePart(STF_CAUSE_FILE);
  cause.code = StfCauseCode();
  cause.textId = StfCauseTextId();
  const INT inserts[] = {STF_CAUSE_INSERT_1, STF_CAUSE_INSERT_2, STF_CAUSE_INSERT_3};
  for (int i = 0; i < 3; ++i) cause.textInserts[i] = CausePart(inserts[i]);
  char system[512];
  if (cause.code != 0) cause.codeText = StfErrorText(cause.code, system, sizeof system);
  return cause;
}

}  // namespace

extern "C" UINT STFAPI StfFailureSentence(INT part, INT insert, LPSTR text, INT cbText) {
  const stf::FailureDecision decision = stf::DecideFailure(LatestCause(), StfIsLeadByte);
  const stf::FailureSentence* sentences[] = {&decision.what, &decision.reason, &decision.advice};
  if (part < 0 || part > 2 || insert < 0 || insert > 2) return 0;
  Give(sentences[part]->inserts[insert], text, cbText);
  return sentences[part]->id;
}

extern "C" BOOL STFAPI StfFailureWords(LPSTR what, INT cbWhat, LPSTR advice, INT cbAdvice,
                                       LPSTR log, INT cbLog) {
  const stf::FailureWords words = stf::DescribeFailure(LatestCause(), StfIsLeadByte);
  Give(words.what, what, cbWhat);
  Give(words.advice, advice, cbAdvice);
  Give(StfLogFilePath(), log, cbLog);
  return words.what.empty() ? FALSE : TRUE;
}
