// Fuzzes the toolkit core's reading of a copy journal, which comes from the
// disk as it was left: whatever the bytes, it is read or refused, with
// nothing outside the input read.
#include <cstdint>
#include <string>

#include "copy_journal.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  stf::Journal journal;
  std::string why;
  stf::ParseJournal(text, "C:\\windows\\system32\\drivers\\~stfcopy.jnl", &journal, &why);
  return 0;
}
