#include "copy_list.h"

namespace stf {

bool CopyList::Add(const std::vector<CopyEntry>& planned, FoldPath fold, std::string* clash) {
  std::set<std::string> adding;
  for (const CopyEntry& entry : planned) {
    const std::string folded = fold ? fold(entry.destPath) : entry.destPath;
    if (targets_.count(folded) != 0 || !adding.insert(folded).second) {
      if (clash) *clash = entry.destPath;
      return false;
    }
  }
  entries_.insert(entries_.end(), planned.begin(), planned.end());
  targets_.insert(adding.begin(), adding.end());
  viewsCurrent_ = false;
  return true;
}

void CopyList::Clear() {
  entries_.clear();
  targets_.clear();
  views_.clear();
  viewsCurrent_ = false;
}

const CopyEntryView* CopyList::Views(std::size_t* count) {
  if (!viewsCurrent_) {
    views_.clear();
    for (const CopyEntry& e : entries_) {
      views_.push_back({e.sourcePath.c_str(), e.destPath.c_str(), e.record.size,
                        e.record.flags, e.record.version.c_str()});
    }
    viewsCurrent_ = true;
  }
  *count = views_.size();
  return views_.data();
}

std::vector<CopyItem> CopyItemsFrom(const CopyEntryView* views, std::size_t count) {
  std::vector<CopyItem> items;
  items.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const CopyEntryView& v = views[i];
    items.push_back({v.source, v.target, (v.flags & kFileFlagVital) != 0, v.version, {}});
  }
  return items;
}

}  // namespace stf
