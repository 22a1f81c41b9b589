#include "failing_new.h"

#include <cstddef>
#include <new>

namespace failnew {
namespace {
int failAt = -1;
bool failAll = false;
int counter = 0;
int refused = 0;
} // namespace

void FailAllocation(int index) {
  failAt = index;
  failAll = false;
  counter = 0;
  refused = 0;
}

void FailAll(bool on) {
  failAll = on;
  failAt = -1;
  counter = 0;
  refused = 0;
}

int Count() { return counter; }

int Refused() { return refused; }

void Disarm() {
  failAt = -1;
  failAll = false;
  counter = 0;
}

} // namespace failnew

namespace {

bool ShouldFail() {
  const int n = failnew::counter++;
  const bool fail = failnew::failAll || n == failnew::failAt;
  failnew::refused += fail ? 1 : 0;
  return fail;
}

} // namespace

// Served by the ordinary throwing forms, so the matching deletes (and the
// sanitizers' bookkeeping) stay exactly as for any other allocation.
void *operator new(std::size_t size, const std::nothrow_t &) noexcept {
  if (ShouldFail()) {
    return nullptr;
  }
  try {
    return ::operator new(size);
  } catch (...) {
    return nullptr;
  }
}

void *operator new[](std::size_t size, const std::nothrow_t &) noexcept {
  if (ShouldFail()) {
    return nullptr;
  }
  try {
    return ::operator new[](size);
  } catch (...) {
    return nullptr;
  }
}
