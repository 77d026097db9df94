// Fuzzes the toolkit core's INF parser; the first byte chooses whether a
// DBCS lead-byte set (0x81-0x9F, 0xE0-0xFC) is in force.
#include <cstdint>
#include <string>

#include "inf_parser.h"

static bool IsShiftLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  bool dbcs = data[0] & 1;
  stf::InfFile inf;
  stf::InfError err;
  stf::ParseInfText(reinterpret_cast<const char*>(data + 1), size - 1, "fuzz.inf", &inf, &err,
                    dbcs ? &IsShiftLead : nullptr);
  return 0;
}
