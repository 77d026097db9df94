// Timings side by side: each series keeps one value per round, the rounds
// interleave the contenders, and ratios are taken pair by pair (same round),
// so that a machine whose speed drifts still compares fairly.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

inline double Seconds() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Series {
  std::string name;
  std::vector<double> values;
};

// "name: min / median / max unit", the median of an even count being the mean of the middle two.
inline void Print(const Series& s, const char* unit, double scale = 1.0) {
  std::vector<double> v = s.values;
  if (v.empty()) return;
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  const double median = n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
  std::printf("%-44s min %10.4f  median %10.4f  max %10.4f %s\n", s.name.c_str(), v.front() * scale,
              median * scale, v.back() * scale, unit);
}

// Pair by pair: a[i] / b[i].
inline Series Ratio(const std::string& name, const Series& a, const Series& b) {
  Series r{name, {}};
  for (std::size_t i = 0; i < a.values.size() && i < b.values.size(); ++i) {
    r.values.push_back(a.values[i] / b.values[i]);
  }
  return r;
}

// A toolkit export by name; the libraries are beside the benchmark.
template <typename Function>
Function Export(const char* library, const char* name) {
  HMODULE module = LoadLibraryA(library);
  Function f = module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                      : nullptr;
  if (f == nullptr) {
    std::fprintf(stderr, "bench: %s has no %s (error %lu)\n", library, name, GetLastError());
    ExitProcess(2);
  }
  return f;
}
