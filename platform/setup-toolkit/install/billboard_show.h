// The billboards shown during a copy, in turn: billboard k of n registered
// with ticks t1..tn is up while the bytes copied so far are between
// (t1 + ... + t(k-1)) / T and (t1 + ... + tk) / T of the whole copy, where T
// is the sum of all ticks. With one billboard it is up for the whole copy.
// Exactly one billboard is on the dialog stack while a show runs.
#pragma once

#include <cstddef>

class BillboardShow {
 public:
  // Shows the first registered billboard (none registered: nothing to do).
  // False when it cannot be shown.
  bool Start();
  // Moves on to the billboard whose share the progress has reached.
  void Advance(unsigned long long done, unsigned long long total);
  // Removes the billboard from the stack (after a failed copy).
  void Remove();

 private:
  bool Show(std::size_t index);
  std::size_t current_ = 0;
  bool shown_ = false;
};
