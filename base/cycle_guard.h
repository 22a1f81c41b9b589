// Noticing that a chain of records linked by `next` loops back on itself,
// while walking it, without allocating: Brent's algorithm. A mark is left on
// a node and moved ahead at every power of two steps; a chain that loops
// meets its mark again within a few rounds of the loop. Per step: one
// comparison and one counter.
#ifndef VANTREL_BASE_CYCLE_GUARD_H
#define VANTREL_BASE_CYCLE_GUARD_H

#include <cstdint>

namespace vantrel {

// The number of distinct records on the chain from `first`, following
// `next(node)`, when the chain loops back on itself: a walk that draws this
// many records meets each exactly once, in chain order, and stops before the
// first record met again. kNoLoop when the chain ends in null. Brent's
// algorithm finds the loop's length, then the records before it; no
// allocation, and a chain that ends costs one walk of pointers.
constexpr uint64_t kNoLoop = UINT64_MAX;

template <typename Node, typename Next> uint64_t DistinctBeforeLoop(const Node *first, Next next) {
  if (first == nullptr) {
    return kNoLoop;
  }
  uint64_t power = 1;
  uint64_t length = 1;
  const Node *mark = first;
  const Node *runner = next(first);
  while (runner != mark) {
    if (runner == nullptr) {
      return kNoLoop;
    }
    if (power == length) {
      mark = runner;
      power *= 2;
      length = 0;
    }
    runner = next(runner);
    ++length;
  }
  // Two walkers `length` apart meet at the first record of the loop; the
  // records before it are those the first walker passed.
  const Node *behind = first;
  const Node *ahead = first;
  for (uint64_t i = 0; i < length; ++i) {
    ahead = next(ahead);
  }
  uint64_t before = 0;
  while (behind != ahead) {
    behind = next(behind);
    ahead = next(ahead);
    ++before;
  }
  return before + length;
}

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
