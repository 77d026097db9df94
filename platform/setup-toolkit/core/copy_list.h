// The process's copy list: built once by the add-to-copy-list operations
// (source folder, destination folder and record joined per entry) and read
// whole by the copy, the cost and the dump, in one call across libraries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "copy_job.h"
#include "copy_plan.h"

namespace stf {

// One entry as another library reads it: plain C layout, texts owned by the
// list and valid until the list next changes.
struct CopyEntryView {
  const char* source;        // source folder + name on the disk
  const char* target;        // destination folder + installed name
  std::uint64_t declared;    // declared size, 0: unknown
  std::uint32_t flags;       // the record's flags (kFileFlag...)
  const char* version;       // required version, "" for none
};

// Target paths compare as the system compares file names; the caller passes
// the system's upper-casing.
typedef std::string (*FoldPath)(const std::string& path);

class CopyList {
 public:
  // Adds every planned entry, or none: a target already listed, or listed
  // twice among them, is refused and named in *clash.
  bool Add(const std::vector<CopyEntry>& planned, FoldPath fold, std::string* clash);
  void Clear();
  const std::vector<CopyEntry>& Entries() const { return entries_; }
  // Every entry at once, in the order added; *count gets how many.
  const CopyEntryView* Views(std::size_t* count);

 private:
  std::vector<CopyEntry> entries_;
  std::set<std::string> targets_;  // folded
  std::vector<CopyEntryView> views_;
  bool viewsCurrent_ = false;
};

// The copy job's items from the entries another library hands over.
std::vector<CopyItem> CopyItemsFrom(const CopyEntryView* views, std::size_t count);

}  // namespace stf
