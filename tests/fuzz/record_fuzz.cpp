// Fuzzes the uninstall entry's readers and the removal rules with the three
// values as raw registry bytes (unterminated, huge, hostile) and a fuzzed set
// of lead bytes: whatever the entry holds, every file it names is judged,
// and nothing outside the input is read.
#include <cstdint>
#include <cstring>
#include <string>

#include "support/removal_plan.h"

namespace {
bool leadBytes[256];
bool IsLead(unsigned char byte) { return leadBytes[byte]; }
}  // namespace

// The input: 32 bytes of lead-byte flags, two flag bytes, then the values
// InstalledFiles, InstalledFolders and InstallLocation parted by 0xFF 0xFE.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 34) return 0;
  for (int i = 0; i < 256; ++i) leadBytes[i] = (data[i / 8] >> (i % 8)) & 1;
  EntryRecord entry;
  entry.hasFiles = data[32] & 1;
  entry.hasFolders = data[32] & 2;
  const std::string rest(reinterpret_cast<const char*>(data + 34), size - 34);
  std::string* values[] = {&entry.files, &entry.folders, &entry.location};
  std::size_t start = 0;
  for (std::string* value : values) {
    std::size_t end = rest.find("\xFF\xFE", start);
    if (end == std::string::npos) end = rest.size();
    *value = rest.substr(start, end - start);
    start = end < rest.size() ? end + 2 : rest.size();
  }
  RemovalRules rules;
  rules.protectedDirs = {"C:\\WINDOWS", "C:\\WINDOWS\\system32\\", "C:\\Program Files\\"};
  rules.driversDir = "C:\\WINDOWS\\system32\\drivers\\";
  rules.driverFile = rules.driversDir + "mlxidecd.SYS";
  rules.productFolderName = "Merlox IDE CD-ROM Drive";
  rules.uninstallerFiles = {"uninstall.exe", "MSCOMSTF.dll"};
  rules.isLead = data[33] & 1 ? IsLead : nullptr;
  RemovalPlan plan = PlanFolders(entry, rules);
  if (!plan.folders.empty() && (data[33] & 2)) {
    RefuseFolder(&plan, plan.folders.front(), "a link or junction to another place");
  }
  PlanFiles(entry, rules, &plan);
  for (const FileToRemove& file : plan.files) {
    // What the plan takes away is in the product's folder or the drivers directory.
    bool inside = FileDirectlyIn(file.file.path, rules.driversDir, rules.isLead);
    for (const std::string& folder : plan.folders) {
      inside = inside || FileDirectlyIn(file.file.path, folder, rules.isLead);
    }
    if (!inside || (file.removal == Removal::kIfUnchanged && !file.file.hashed)) __builtin_trap();
  }
  return 0;
}
