// The billboards shown during a copy, in turn: billboard k of n registered
// with ticks t1..tn is up while the bytes copied so far are between
// (t1 + ... + t(k-1)) / T and (t1 + ... + tk) / T of the whole copy, where T
// is the sum of all ticks. With one billboard it is up for the whole copy.
// Exactly one billboard is on the dialog stack while the copy runs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "copy_host.h"

namespace stf {

// The billboard whose share holds done of total.
std::size_t BillboardForProgress(const std::vector<long>& ticks, std::uint64_t done,
                                 std::uint64_t total);

class BillboardSteps {
 public:
  BillboardSteps(CopyUser& user, const std::vector<long>& ticks) : user_(user), ticks_(ticks) {}
  // Shows the first billboard (none registered: nothing to do); false when
  // it cannot be shown.
  bool Start();
  // Moves on to the billboard whose share the progress has reached; one
  // that cannot be shown leaves the one before it up.
  void Advance(std::uint64_t done, std::uint64_t total);
  // Takes the billboard down (after a failed copy).
  void Remove();

 private:
  CopyUser& user_;
  const std::vector<long>& ticks_;
  std::size_t current_ = 0;
  std::size_t tried_ = 0;  // each billboard is tried once
  bool shown_ = false;
};

}  // namespace stf
