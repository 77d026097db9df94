// One ordered record of the calls the program made into the fake system and
// the fake toolkit, each with its arguments as text.
#pragma once

#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

namespace fake {

struct Call {
  std::string name;
  std::vector<std::string> args;
  std::string Text() const;  // Name(arg, arg, ...)
};

extern std::vector<Call> calls;

std::string FormatArg(const char* text);  // "text" or NULL
inline std::string FormatArg(char* text) { return FormatArg(static_cast<const char*>(text)); }
std::string FormatArg(const void* pointer);  // 0x... or NULL
std::string FormatArg(long long value);
std::string FormatArg(unsigned long long value);

template <typename T>
std::string FormatAny(const T& value) {
  if constexpr (std::is_pointer_v<T>) {
    using Pointee = std::remove_cv_t<std::remove_pointer_t<T>>;
    if constexpr (std::is_same_v<Pointee, char>) {
      return FormatArg(static_cast<const char*>(value));
    } else {
      return FormatArg(static_cast<const void*>(value));
    }
  } else if constexpr (std::is_signed_v<T>) {
    return FormatArg(static_cast<long long>(value));
  } else {
    return FormatArg(static_cast<unsigned long long>(value));
  }
}

template <typename... Args>
void Record(const char* name, const Args&... args) {
  calls.push_back(Call{name, {FormatAny(args)...}});
}

// The calls to the named functions, in order, as text.
std::vector<std::string> CallsTo(const std::vector<std::string>& names);
// The names of all calls, in order.
std::vector<std::string> CallNames();
// How many calls were made to one function.
int CountCalls(const std::string& name);

}  // namespace fake
