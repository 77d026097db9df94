// The state of one run of setup, as values: the switches that shape it, the
// title of its windows, how it ended, and the cause of its latest failure.
// MSCOMSTF keeps the one of the process; the other libraries write and read
// it through its exports, never through text.
#pragma once

#include <string>

#include "failure_words.h"
#include "options.h"
#include "run_outcome.h"

namespace stf {

struct RunState {
  bool quiet = false;    // /quiet: no window at all
  bool passive = false;  // /passive: the frame and the progress show, nobody is asked
  SetupOptions::RestartChoice restart = SetupOptions::kRestartDefault;
  std::string title;  // empty: the program has not named its windows
  RunOutcome outcome = kOutcomeUndecided;
  std::string detail;  // what decided the outcome, for its line
  // The first error record of the latest failure, as one line, and its parts.
  std::string causeRecord;
  FailureCause cause;
  bool lineWritten = false;  // the log's last line is out: only a refused restart changes it
};

// Nobody is there to answer: every dialog takes its default, no box is shown,
// and the exit code tells the outcome.
inline bool Unattended(const RunState& state) { return state.quiet || state.passive; }

// A dialog's answer or an end before the start decides the outcome; the
// latest decision counts, except that an end before the start stays, and
// that a written outcome line stays true.
void DecideOutcome(RunState* state, RunOutcome outcome, const std::string& detail);

// Windows refused the restart the outcome announced: true when that changed it.
bool RefuseRestart(RunState* state);

// The first error record of a failure (without "Error: ") becomes its cause.
void KeepCause(RunState* state, const std::string& record, const FailureCause& cause);

// The title the windows and boxes take, and an error box's caption.
std::string WindowTitle(const RunState& state);
std::string ErrorCaption(const RunState& state);

// The symbols that scripts and older callers read, from the state:
// STF_QUIET "1" (nobody is asked: quiet or passive) or "", STF_RESTART "FORCE", "NO" or "".
const char* QuietSymbolText(const RunState& state);
const char* RestartSymbolText(const RunState& state);

// The outcome line of the state (its exit code: ExitCodeOf(state.outcome)).
std::string OutcomeLineOf(const RunState& state);

}  // namespace stf
