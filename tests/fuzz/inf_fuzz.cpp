// Fuzzes the toolkit core's INF parser; bit 0 of the first byte chooses
// whether a DBCS lead-byte set (0x81-0x9F, 0xE0-0xFC) is in force, bit 1
// whether the bytes are first decoded as a file's (UTF-16, UTF-8, ANSI),
// bit 2 whether directory ids are replaced.
#include <cstdint>
#include <string>

#include "inf_parser.h"

static bool IsShiftLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

static bool Narrow(const char16_t* text, size_t length, std::string* out) {
  out->clear();
  for (size_t i = 0; i < length; ++i) out->push_back(text[i] < 0x100 ? static_cast<char>(text[i]) : '?');
  return true;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  bool dbcs = data[0] & 1;
  static const stf::InfDirectoryIds dirs = [] {
    stf::InfSystemDirs system;
    system.windows = "C:\\WINNT";
    system.system = "C:\\WINNT\\system32";
    system.systemRoot = "C:\\";
    system.infDirectory = "D:\\\x95\\";  // ends in a trail byte that is a backslash
    return stf::MakeInfDirectoryIds(system);
  }();
  std::string text(reinterpret_cast<const char*>(data + 1), size - 1), problem;
  if ((data[0] & 2) && !stf::DecodeInfBytes(text.data(), text.size(), Narrow, &text, &problem)) {
    return 0;
  }
  stf::InfFile inf;
  stf::InfError err;
  if (stf::ParseInfText(text.data(), text.size(), "fuzz.inf", &inf, &err,
                        dbcs ? &IsShiftLead : nullptr, (data[0] & 4) ? &dirs : nullptr)) {
    std::string field;
    for (const stf::InfSection& section : inf.sections) {
      for (const stf::InfLine& line : section.lines) {
        stf::FindLine(inf, section, stf::LineKey(inf, line));
        for (int n = 0; stf::GetField(inf, line, n, &field); ++n) {
        }
      }
    }
  }
  return 0;
}
