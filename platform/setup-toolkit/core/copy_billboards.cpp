#include "copy_billboards.h"

#include <string>

namespace stf {

std::size_t BillboardForProgress(const std::vector<long>& ticks, std::uint64_t done,
                                 std::uint64_t total) {
  long double sum = 0, reached = 0;
  for (long t : ticks) sum += t;
  if (ticks.size() < 2 || total == 0 || sum <= 0) return 0;
  const long double progress = static_cast<long double>(done) / total;
  std::size_t wanted = 0;
  for (std::size_t i = 0; i + 1 < ticks.size(); ++i) {
    reached += ticks[i];
    if (progress >= reached / sum) wanted = i + 1;
  }
  return wanted;
}

bool BillboardSteps::Start() {
  shown_ = !ticks_.empty() && user_.ShowBillboard(0);
  current_ = tried_ = 0;
  return ticks_.empty() || shown_;
}

void BillboardSteps::Advance(std::uint64_t done, std::uint64_t total) {
  if (!shown_) return;
  const std::size_t wanted = BillboardForProgress(ticks_, done, total);
  if (wanted <= tried_) return;
  tried_ = wanted;
  user_.RemoveBillboard();
  if (user_.ShowBillboard(wanted)) {
    current_ = wanted;
    return;
  }
  user_.LogNote("Billboard " + std::to_string(wanted + 1) + " of " +
                std::to_string(ticks_.size()) + " cannot be shown; billboard " +
                std::to_string(current_ + 1) + " stays");
  shown_ = user_.ShowBillboard(current_);
}

void BillboardSteps::Remove() {
  if (shown_) user_.RemoveBillboard();
  shown_ = false;
}

}  // namespace stf
