#include "file_record.h"

#include <utility>

#include "file_version.h"

namespace stf {
namespace {

// Decimal digits only, no sign or blanks; false on anything else or above max.
bool ParseDecimal(const std::string& text, std::uint64_t max, std::uint64_t* out) {
  if (text.empty()) return false;
  std::uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    const unsigned digit = static_cast<unsigned>(c - '0');
    if (value > (max - digit) / 10) return false;
    value = value * 10 + digit;
  }
  *out = value;
  return true;
}

std::string Field(const InfFile& inf, const InfLine& line, int n) {
  std::string value;
  GetField(inf, line, n, &value);
  return value;
}

}  // namespace

bool ReadFileRecord(const InfFile& inf, const InfLine& line, FileRecord* out, InfError* err) {
  auto fail = [&](const std::string& message) {
    err->file = inf.path;
    err->line = line.line;
    err->message = message;
    return false;
  };
  const int count = ValueCount(line);
  if (count > kFileFieldLast) {
    return fail("file record has " + std::to_string(count) + " fields; the last defined is " +
                std::to_string(kFileFieldLast));
  }

  FileRecord record;
  record.line = line.line;
  record.diskName = Field(inf, line, kFileFieldDiskName);
  if (record.diskName.empty()) return fail("file record without a file name (field 1)");
  record.installName = Field(inf, line, kFileFieldInstallName);
  if (record.installName.empty()) record.installName = record.diskName;

  const std::string size = Field(inf, line, kFileFieldSize);
  if (!size.empty() && !ParseDecimal(size, UINT64_MAX, &record.size)) {
    return fail("file size '" + size + "' of " + record.diskName + " is not a decimal number");
  }
  record.description = Field(inf, line, kFileFieldDescription);

  const std::string flags = Field(inf, line, kFileFieldFlags);
  if (!flags.empty()) {
    std::uint64_t value = 0;
    if (!ParseDecimal(flags, UINT32_MAX, &value)) {
      return fail("flags '" + flags + "' of " + record.diskName + " are not a decimal number");
    }
    if ((value & ~static_cast<std::uint64_t>(kFileFlagsDefined)) != 0) {
      return fail("flags '" + flags + "' of " + record.diskName + " set reserved bits");
    }
    record.flags = static_cast<std::uint32_t>(value);
  }

  record.version = Field(inf, line, kFileFieldVersion);
  FileVersion parsed;
  if (!record.version.empty() && !ParseVersionText(record.version, &parsed)) {
    return fail("version '" + record.version + "' of " + record.diskName +
                " is not 1 to 4 dotted numbers of 0-65535");
  }
  *out = std::move(record);
  return true;
}

}  // namespace stf
