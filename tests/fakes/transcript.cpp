#include "tests/fakes/transcript.h"

#include <algorithm>
#include <cstdio>

namespace fake {

std::vector<Call> calls;

std::string Call::Text() const {
  std::string text = name + "(";
  for (size_t i = 0; i < args.size(); ++i) {
    if (i > 0) text += ", ";
    text += args[i];
  }
  return text + ")";
}

std::string FormatArg(const char* text) {
  return text == nullptr ? "NULL" : "\"" + std::string(text) + "\"";
}

std::string FormatArg(const void* pointer) {
  if (pointer == nullptr) return "NULL";
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "0x%llx",
                static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(pointer)));
  return buffer;
}

std::string FormatArg(long long value) { return std::to_string(value); }
std::string FormatArg(unsigned long long value) { return std::to_string(value); }

std::vector<std::string> CallsTo(const std::vector<std::string>& names) {
  std::vector<std::string> out;
  for (const Call& call : calls) {
    if (std::find(names.begin(), names.end(), call.name) != names.end()) {
      out.push_back(call.Text());
    }
  }
  return out;
}

std::vector<std::string> CallNames() {
  std::vector<std::string> out;
  for (const Call& call : calls) out.push_back(call.name);
  return out;
}

int CountCalls(const std::string& name) {
  return static_cast<int>(std::count_if(calls.begin(), calls.end(),
                                        [&](const Call& c) { return c.name == name; }));
}

}  // namespace fake
