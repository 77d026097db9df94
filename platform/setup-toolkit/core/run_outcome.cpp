#include "run_outcome.h"

#include "ansi_text.h"

namespace stf {
namespace {

const char kRestartPending[] = "restart pending";
const char kRestarting[] = "restarting Windows";

bool StartsWithNoCase(const std::string& text, const std::string& word) {
  return text.size() >= word.size() && EqualsNoCase(text.substr(0, word.size()), word);
}

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// "WORD, detail", "WORD (detail)" or "WORD": the detail without its brackets.
std::string DetailAfter(const std::string& text, std::size_t wordLength) {
  std::string rest = Trimmed(text.substr(wordLength));
  if (!rest.empty() && rest[0] == ',') rest = Trimmed(rest.substr(1));
  if (rest.size() >= 2 && rest.front() == '(' && rest.back() == ')') {
    rest = Trimmed(rest.substr(1, rest.size() - 2));
  }
  return rest;
}

std::string WithDetail(const char* word, const std::string& detail) {
  return detail.empty() ? std::string(word) : std::string(word) + " (" + detail + ")";
}

}  // namespace

std::string CanonicalOutcome(const std::string& text) {
  const std::string t = Trimmed(text);
  if (StartsWithNoCase(t, "NOT INSTALLED")) return WithDetail("NOT INSTALLED", DetailAfter(t, 13));
  if (StartsWithNoCase(t, "CANCELLED")) return "CANCELLED";
  if (StartsWithNoCase(t, "SUCCESS")) {
    const std::string detail = DetailAfter(t, 7);
    if (StartsWithNoCase(detail, "restarting")) return WithDetail("SUCCESS", kRestarting);
    if (StartsWithNoCase(detail, "restart")) return WithDetail("SUCCESS", kRestartPending);
    return "SUCCESS";
  }
  if (StartsWithNoCase(t, "FAILED")) {
    const std::string detail = DetailAfter(t, 6);
    return WithDetail("FAILED", detail.empty() ? "setup ended before it completed" : detail);
  }
  return WithDetail("FAILED", t.empty() ? "setup ended before it completed" : t);
}

std::string OutcomeWithCause(const std::string& outcome, const std::string& lastCause) {
  const std::string canonical = CanonicalOutcome(outcome);
  const std::string cause = Trimmed(lastCause);
  if (cause.empty() || !StartsWithNoCase(canonical, "FAILED")) return canonical;
  return WithDetail("FAILED", DetailAfter(canonical, 6) + ": " + cause);
}

int ExitCodeOfOutcome(const std::string& outcome) {
  const std::string canonical = CanonicalOutcome(outcome);
  if (canonical == "SUCCESS") return kExitSuccess;
  if (canonical == WithDetail("SUCCESS", kRestartPending)) return kExitRestartPending;
  if (canonical == WithDetail("SUCCESS", kRestarting)) return kExitRestarting;
  if (canonical == "CANCELLED") return kExitCancelled;
  if (StartsWithNoCase(canonical, "NOT INSTALLED")) return kExitNotInstalled;
  return kExitFailed;
}

std::string OutcomeAfterRefusedRestart(const std::string& outcome) {
  const std::string canonical = CanonicalOutcome(outcome);
  return canonical == WithDetail("SUCCESS", kRestarting) ? WithDetail("SUCCESS", kRestartPending)
                                                          : canonical;
}

}  // namespace stf
