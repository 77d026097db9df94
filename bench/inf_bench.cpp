// The toolkit's INF reader against the system's (setupapi) on the same file,
// round by round: opening it, and reading every field of a section (the
// toolkit by key, setupapi line by line).
//
//   inf_bench <inf file> <section> <rounds>
#include "bench/bench_stats.h"  // windows.h first

#include <setupapi.h>

#include <cstdlib>

#include "contract/toolkit_api.h"

namespace {

void Fail(const std::string& what) {
  std::fprintf(stderr, "bench: %s (error %lu)\n", what.c_str(), GetLastError());
  ExitProcess(1);
}

struct Toolkit {
  decltype(&FOpenInf) openInf = Export<decltype(&FOpenInf)>("MSCOMSTF.dll", "FOpenInf");
  decltype(&CbGetInfSectionKeyField) field =
      Export<decltype(&CbGetInfSectionKeyField)>("MSCOMSTF.dll", "CbGetInfSectionKeyField");
};

double OpenOurs(Toolkit& t, const std::string& inf) {
  const double start = Seconds();
  if (!t.openInf(inf.c_str(), TRUE, FALSE)) Fail("FOpenInf " + inf);
  return Seconds() - start;
}

double OpenSystem(const std::string& inf) {
  const double start = Seconds();
  HINF h = SetupOpenInfFileA(inf.c_str(), nullptr, INF_STYLE_WIN4, nullptr);
  if (h == INVALID_HANDLE_VALUE) Fail("SetupOpenInfFileA " + inf);
  const double spent = Seconds() - start;
  SetupCloseInfFile(h);
  return spent;
}

// The section's keys, in file order, as the system reads them.
std::vector<std::string> Keys(HINF h, const char* section) {
  std::vector<std::string> keys;
  INFCONTEXT line;
  char key[4096];
  for (BOOL more = SetupFindFirstLineA(h, section, nullptr, &line); more;
       more = SetupFindNextLine(&line, &line)) {
    if (SetupGetStringFieldA(&line, 0, key, sizeof key, nullptr)) keys.push_back(key);
  }
  return keys;
}

double FieldsOurs(Toolkit& t, const char* section, const std::vector<std::string>& keys,
                  std::size_t* fields) {
  char buffer[4096];
  const double start = Seconds();
  *fields = 0;
  for (const std::string& key : keys) {
    for (INT n = 1; t.field(section, key.c_str(), n, buffer, sizeof buffer) >= 0; ++n) ++*fields;
  }
  return Seconds() - start;
}

// Line by line: a look-up by key costs setupapi a scan of the section, which
// for every line of a long section would take minutes.
double FieldsSystem(HINF h, const char* section, std::size_t* fields) {
  char buffer[4096];
  const double start = Seconds();
  *fields = 0;
  INFCONTEXT line;
  for (BOOL more = SetupFindFirstLineA(h, section, nullptr, &line); more;
       more = SetupFindNextLine(&line, &line)) {
    const DWORD count = SetupGetFieldCount(&line);
    for (DWORD n = 1; n <= count; ++n) {
      if (SetupGetStringFieldA(&line, n, buffer, sizeof buffer, nullptr)) ++*fields;
    }
  }
  return Seconds() - start;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: inf_bench <inf file> <section> <rounds>\n");
    return 2;
  }
  const std::string inf = argv[1];
  const char* section = argv[2];
  const int rounds = std::atoi(argv[3]);
  Toolkit t;
  Series openOurs{"open: toolkit (FOpenInf)", {}}, openSystem{"open: setupapi (SetupOpenInfFileA)", {}};
  for (int r = -1; r < rounds; ++r) {
    for (int k = 0; k < 2; ++k) {
      const bool ours = (k + r + 2) % 2 == 0;
      const double spent = ours ? OpenOurs(t, inf) : OpenSystem(inf);
      if (r >= 0) (ours ? openOurs : openSystem).values.push_back(spent);
    }
  }
  HINF h = SetupOpenInfFileA(inf.c_str(), nullptr, INF_STYLE_WIN4, nullptr);
  if (h == INVALID_HANDLE_VALUE) Fail("SetupOpenInfFileA " + inf);
  OpenOurs(t, inf);
  const std::vector<std::string> keys = Keys(h, section);
  Series fieldsOurs{"every field by key: toolkit", {}},
      fieldsSystem{"every field line by line: setupapi", {}};
  std::size_t oursCount = 0, systemCount = 0;
  for (int r = -1; r < rounds; ++r) {
    for (int k = 0; k < 2; ++k) {
      const bool ours = (k + r + 2) % 2 == 0;
      const double spent = ours ? FieldsOurs(t, section, keys, &oursCount)
                                : FieldsSystem(h, section, &systemCount);
      if (r >= 0) (ours ? fieldsOurs : fieldsSystem).values.push_back(spent);
    }
  }
  SetupCloseInfFile(h);
  if (oursCount != systemCount) {
    std::fprintf(stderr, "bench: the toolkit read %lu fields, setupapi %lu\n",
                 static_cast<unsigned long>(oursCount), static_cast<unsigned long>(systemCount));
    return 1;
  }
  std::printf("%s: %lu lines in [%s], %lu fields, %d rounds; seconds:\n", inf.c_str(),
              static_cast<unsigned long>(keys.size()), section,
              static_cast<unsigned long>(oursCount), rounds);
  Print(openOurs, "s");
  Print(openSystem, "s");
  Print(Ratio("  open: setupapi time / toolkit time", openSystem, openOurs), "x");
  Print(fieldsOurs, "s");
  Print(fieldsSystem, "s");
  Print(Ratio("  fields: setupapi time / toolkit time", fieldsSystem, fieldsOurs), "x");
  return 0;
}
