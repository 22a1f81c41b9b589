// Noticing that a chain of records linked by `next` loops back on itself,
// while walking it, without allocating: Brent's algorithm. A mark is left on
// a node and moved ahead at every power of two steps; a chain that loops
// meets its mark again within a few rounds of the loop. Per step: one
// comparison and one counter.
#ifndef VANTREL_HOST_CYCLE_GUARD_H
#define VANTREL_HOST_CYCLE_GUARD_H

#include <cstdint>

namespace vantrel {

template <typename Node> class CycleGuard {
public:
  explicit CycleGuard(const Node *first) : mark_(first) {}

  // Called with each node the walk moves to after the first; false when that
  // node was met before (the chain loops).
  bool Step(const Node *next) {
    if (next == mark_) {
      return false;
    }
    if (++steps_ == power_) {
      mark_ = next;
      power_ *= 2;
      steps_ = 0;
    }
    return true;
  }

private:
  const Node *mark_;
  uint64_t power_ = 1;
  uint64_t steps_ = 0;
};

} // namespace vantrel

#endif
