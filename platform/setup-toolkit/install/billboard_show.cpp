#include "platform/setup-toolkit/install/billboard_show.h"

#include <string>

#include "platform/setup-toolkit/install/install_state.h"

bool BillboardShow::Show(std::size_t index) {
  const Billboard& b = RegisteredBillboards()[index];
  if (!StfShowBillboard(b.dll.c_str(), b.id, b.proc.c_str())) return false;
  current_ = index;
  shown_ = true;
  return true;
}

bool BillboardShow::Start() {
  shown_ = false;
  return RegisteredBillboards().empty() || Show(0);
}

void BillboardShow::Advance(unsigned long long done, unsigned long long total) {
  const std::vector<Billboard>& all = RegisteredBillboards();
  if (!shown_ || all.size() < 2 || total == 0) return;
  unsigned long long ticks = 0, reached = 0;
  for (const Billboard& b : all) ticks += static_cast<unsigned long long>(b.ticks);
  // The billboard whose share holds the progress (as a fraction of all ticks).
  std::size_t wanted = 0;
  for (std::size_t i = 0; i + 1 < all.size(); ++i) {
    reached += static_cast<unsigned long long>(all[i].ticks);
    if (static_cast<long double>(done) / total >= static_cast<long double>(reached) / ticks) {
      wanted = i + 1;
    }
  }
  if (wanted <= current_) return;
  std::size_t before = current_;
  FKillNDialogs(1);
  shown_ = false;
  if (Show(wanted)) return;
  FWriteToLogFile(("Billboard " + std::to_string(all[wanted].id) +
                   " cannot be shown; billboard " + std::to_string(all[before].id) + " stays")
                      .c_str(),
                  TRUE);
  Show(before);
}

void BillboardShow::Remove() {
  if (shown_) FKillNDialogs(1);
  shown_ = false;
}
