#include "inf_dirids.h"

namespace stf {
namespace {

std::string Below(const std::string& parent, const char* names) {
  if (parent.empty()) return std::string();
  std::string path = parent;
  if (path.back() != '\\') path += '\\';
  return path + names;
}

void Put(InfDirectoryIds* table, long id, const std::string& path) {
  if (!path.empty()) table->ids[id] = path;
}

}  // namespace

InfDirectoryIds MakeInfDirectoryIds(const InfSystemDirs& dirs) {
  InfDirectoryIds table;
  // "No directory" and the two spellings of "the path is absolute".
  table.ids[0] = table.ids[-1] = table.ids[65535] = std::string();
  Put(&table, 1, dirs.infDirectory);
  Put(&table, 10, dirs.windows);
  Put(&table, 11, dirs.system);
  Put(&table, 12, Below(dirs.system, "drivers"));
  Put(&table, 17, Below(dirs.windows, "inf"));
  Put(&table, 18, Below(dirs.windows, "help"));
  Put(&table, 20, Below(dirs.windows, "fonts"));
  Put(&table, 21, Below(dirs.system, "viewers"));
  Put(&table, 23, Below(dirs.system, "spool\\drivers\\color"));
  Put(&table, 24, dirs.systemRoot);
  Put(&table, 25, dirs.windows);
  Put(&table, 30, dirs.bootRoot);
  Put(&table, 50, Below(dirs.windows, "system"));
  Put(&table, 51, Below(dirs.system, "spool"));
  if (!dirs.driverArch.empty()) {
    Put(&table, 52, Below(dirs.system, ("spool\\drivers\\" + dirs.driverArch).c_str()));
    Put(&table, 55, Below(dirs.system, ("spool\\prtprocs\\" + dirs.driverArch).c_str()));
  }
  Put(&table, 53, dirs.userProfile);
  Put(&table, 54, dirs.bootRoot);
  table.shellFolder = dirs.shellFolder;
  return table;
}

bool LookUpDirectoryId(const InfDirectoryIds& dirs, long id, std::string* path) {
  const auto found = dirs.ids.find(id);
  if (found != dirs.ids.end()) {
    *path = found->second;
    return true;
  }
  const long folder = id - kInfShellFolderBase;
  return dirs.shellFolder != nullptr && folder >= 0 && folder < kInfShellFolderCount &&
         dirs.shellFolder(static_cast<int>(folder), path) && !path->empty();
}

bool ParseDirectoryId(const char* name, std::size_t length, long* id) {
  std::size_t i = 0;
  const bool negative = length > 0 && name[0] == '-';
  if (length > 0 && (name[0] == '-' || name[0] == '+')) ++i;
  if (i == length || length - i > 9) return false;  // no digits, or past any id
  long value = 0;
  for (; i < length; ++i) {
    if (name[i] < '0' || name[i] > '9') return false;
    value = value * 10 + (name[i] - '0');
  }
  *id = negative ? -value : value;
  return true;
}

}  // namespace stf
