// Reads INF files with the toolkit (MSCOMSTF.dll beside this program, through
// its exports) and with the system's setupapi, and compares every field of
// every line of every section that setupapi finds.
//
//   inf_compare <inf file>...
//
// Prints, per file and in all, the lines and fields compared and the
// mismatches by kind, and the first few of each kind. Exit code: 0 when
// every mismatch is of a kind given as a system's difference (below), 1
// otherwise, 2 when a file cannot be read at all.
#include "bench/bench_stats.h"  // windows.h first

#include <setupapi.h>

#include <map>

#include "contract/toolkit_api.h"

namespace {

template <typename F>
F Common(const char* name) {
  return Export<F>("MSCOMSTF.dll", name);
}

struct Toolkit {
  decltype(&FOpenInf) open = Common<decltype(&FOpenInf)>("FOpenInf");
  decltype(&FSetSilent) silent = Common<decltype(&FSetSilent)>("FSetSilent");
  decltype(&FSetSymbolToListOfInfKeys) keys =
      Common<decltype(&FSetSymbolToListOfInfKeys)>("FSetSymbolToListOfInfKeys");
  decltype(&FMakeListInfSectionField) fields =
      Common<decltype(&FMakeListInfSectionField)>("FMakeListInfSectionField");
  decltype(&UsGetListLength) length = Common<decltype(&UsGetListLength)>("UsGetListLength");
  decltype(&CbGetListItem) item = Common<decltype(&CbGetListItem)>("CbGetListItem");

  std::vector<std::string> List(const char* name) {
    std::vector<std::string> items(length(name));
    static char buffer[16384];
    for (UINT i = 0; i < items.size(); ++i) {
      if (item(name, i + 1, buffer, sizeof buffer) < static_cast<INT>(sizeof buffer)) {
        items[i] = buffer;
      }
    }
    return items;
  }
};

// One line as setupapi reads it: the key ("" when none) and the values.
using Line = std::vector<std::string>;

std::vector<Line> SystemLines(HINF inf, const char* section) {
  std::vector<Line> lines;
  static char buffer[16384];
  INFCONTEXT context;
  for (BOOL more = SetupFindFirstLineA(inf, section, nullptr, &context); more;
       more = SetupFindNextLine(&context, &context)) {
    Line line;
    const DWORD count = SetupGetFieldCount(&context);
    for (DWORD n = 0; n <= count; ++n) {
      const BOOL got = SetupGetStringFieldA(&context, n, buffer, sizeof buffer, nullptr);
      line.push_back(got ? buffer : "");
    }
    lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> Sections(HINF inf) {
  using Enum = BOOL(WINAPI*)(HINF, UINT, PSTR, UINT, UINT*);
  const Enum enumerate =
      reinterpret_cast<Enum>(reinterpret_cast<void*>(
          GetProcAddress(GetModuleHandleA("setupapi.dll"), "SetupEnumInfSectionsA")));
  std::vector<std::string> names;
  char name[512];
  for (UINT i = 0; enumerate && enumerate(inf, i, name, sizeof name, nullptr); ++i) {
    names.push_back(name);
  }
  return names;
}

struct Tally {
  std::size_t sections = 0, lines = 0, fields = 0;
  std::map<std::string, std::size_t> kinds;
};
std::map<std::string, std::vector<std::string>> examples;

std::string Short(const std::string& text) {
  return text.size() <= 70 ? text : text.substr(0, 60) + "...(" + std::to_string(text.size()) + ")";
}

// What kind of difference: the system's own limits and stand-ins by name.
std::string Kind(const std::string& ours, const std::string& system) {
  // Of a field, or of each [Strings] value put into one.
  if (!system.empty() && system.size() % 511 == 0 && ours.size() > system.size() &&
      ours.compare(0, system.size(), system) == 0) {
    return "system keeps 511 characters of a longer field";
  }
  if (system.find("\\unknown") != std::string::npos && ours.find('%') != std::string::npos) {
    return "system's stand-in for an id it does not know (the toolkit leaves it as written)";
  }
  if (ours.find("\\spool\\drivers\\w32x86") != std::string::npos &&
      system.find("w32x86") == std::string::npos) {
    return "system's spool drivers folder without the machine's (%52%)";
  }
  return "field text";
}

void Mismatch(Tally* tally, const std::string& kind, const std::string& where,
              const std::string& ours, const std::string& system) {
  ++tally->kinds[kind];
  std::vector<std::string>& list = examples[kind];
  if (list.size() < 4) list.push_back(where + ": toolkit [" + Short(ours) + "] system [" + Short(system) + "]");
}

void CompareSection(Toolkit& t, HINF inf, const std::string& file, const char* section, Tally* tally) {
  const std::vector<Line> lines = SystemLines(inf, section);
  const std::string where = file + " [" + section + "]";
  if (!t.keys("INF_KEYS", section, TRUE)) {
    Mismatch(tally, "section missing", where, "", std::to_string(lines.size()) + " lines");
    return;
  }
  ++tally->sections;
  const std::vector<std::string> keys = t.List("INF_KEYS");
  if (keys.size() != lines.size()) {
    Mismatch(tally, "line count", where, std::to_string(keys.size()), std::to_string(lines.size()));
    return;
  }
  std::size_t most = 0;
  for (const Line& line : lines) most = line.size() > most ? line.size() : most;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    ++tally->lines;
    if (keys[i] != lines[i][0]) Mismatch(tally, "key", where + " line " + std::to_string(i + 1), keys[i], lines[i][0]);
  }
  for (std::size_t n = 1; n <= most; ++n) {  // field `most` is past every line's last
    t.fields("INF_FIELD", section, static_cast<INT>(n));
    const std::vector<std::string> ours = t.List("INF_FIELD");
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const std::string at = where + " line " + std::to_string(i + 1) + " field " + std::to_string(n);
      const bool has = n < lines[i].size();
      if (has) ++tally->fields;
      const std::string system = has ? lines[i][n] : "";
      const std::string mine = i < ours.size() ? ours[i] : "<none>";
      if (mine == system) continue;
      Mismatch(tally, has ? Kind(mine, system) : "field the system does not have", at, mine, system);
    }
  }
}

void Print(const char* what, const Tally& tally) {
  std::size_t mismatches = 0;
  for (const auto& kind : tally.kinds) mismatches += kind.second;
  std::printf("%s: %lu sections, %lu lines, %lu fields, %lu mismatches\n", what,
              (unsigned long)tally.sections, (unsigned long)tally.lines,
              (unsigned long)tally.fields, (unsigned long)mismatches);
  for (const auto& kind : tally.kinds) {
    std::printf("  %6lu  %s\n", (unsigned long)kind.second, kind.first.c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  Toolkit t;
  t.silent(TRUE);
  Tally all;
  for (int a = 1; a < argc; ++a) {
    const char* file = argv[a];
    UINT errorLine = 0;
    HINF inf = SetupOpenInfFileA(file, nullptr, INF_STYLE_WIN4, &errorLine);
    if (inf == INVALID_HANDLE_VALUE) {
      std::fprintf(stderr, "inf_compare: setupapi cannot open %s (error %lu, line %u)\n", file,
                   GetLastError(), errorLine);
      return 2;
    }
    if (!t.open(file, FALSE, FALSE)) {
      std::fprintf(stderr, "inf_compare: the toolkit cannot open %s\n", file);
      return 2;
    }
    Tally tally;
    for (const std::string& section : Sections(inf)) CompareSection(t, inf, file, section.c_str(), &tally);
    SetupCloseInfFile(inf);
    Print(file, tally);
    all.sections += tally.sections;
    all.lines += tally.lines;
    all.fields += tally.fields;
    for (const auto& kind : tally.kinds) all.kinds[kind.first] += kind.second;
  }
  Print("all files", all);
  bool unexplained = false;
  for (const auto& kind : examples) {
    std::printf("%s, first of them:\n", kind.first.c_str());
    for (const std::string& example : kind.second) std::printf("  %s\n", example.c_str());
    unexplained |= kind.first.compare(0, 6, "system") != 0;
  }
  return unexplained ? 1 : 0;
}
