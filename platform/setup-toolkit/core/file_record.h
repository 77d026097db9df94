// The file record: one line of a file section such as [System Files] names
// one file to install. Fields are numbered as in the INF reader (field 0 is
// the key, which the record does not use):
//
//   field  meaning                                   when empty or missing
//   1      the file's name on the source disk        required
//   2      the name to install it as                 field 1
//   3      size in bytes, decimal (progress, cost)   0 = unknown
//   4      reserved
//   5      short description of the file             empty
//   6-14   reserved
//   15     flags, decimal                            kFileFlagVital
//   16-18  reserved
//   19     required version, dotted numeric          none
//
// Flags: bit 0 (kFileFlagVital) set means a failure to copy the file fails
// the install. Every other bit is reserved and must be 0. Because vital is the
// default, a record makes a file optional only by writing 0 in field 15.
// Reserved fields may hold anything and are ignored; nothing may follow
// field 19. A version has 1 to 4 parts, each 0-65535 (a file version
// resource has four 16-bit parts).
//
// Examples:  mlxidecd = mlxidecd.SYS
//            mlxidecd.SYS
//            mlxidecd.SY_, mlxidecd.sys, 21504,, "CD-ROM driver",,,,,,,,,, 1,,,, 3.10.0.61
#pragma once

#include <cstdint>
#include <string>

#include "inf_parser.h"

namespace stf {

constexpr int kFileFieldDiskName = 1;
constexpr int kFileFieldInstallName = 2;
constexpr int kFileFieldSize = 3;
constexpr int kFileFieldDescription = 5;
constexpr int kFileFieldFlags = 15;
constexpr int kFileFieldVersion = 19;
constexpr int kFileFieldLast = kFileFieldVersion;

constexpr std::uint32_t kFileFlagVital = 0x1;
constexpr std::uint32_t kFileFlagsDefined = kFileFlagVital;

struct FileRecord {
  std::string diskName;
  std::string installName;
  std::uint64_t size = 0;  // 0: unknown
  std::string description;
  std::uint32_t flags = kFileFlagVital;
  std::string version;  // empty: no version required
  int line = 0;         // INF line of the record

  bool vital() const { return (flags & kFileFlagVital) != 0; }
};

// Reads a record from a line of inf. Only the record's own layout is
// checked here; whether the names are safe to use is the copy planner's job.
bool ReadFileRecord(const InfFile& inf, const InfLine& line, FileRecord* out, InfError* err);

}  // namespace stf
