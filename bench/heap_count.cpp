// heap_count.cpp - a counter in front of every allocation of this program.
#include "bench/heap_count.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

extern "C" {
void *__real_malloc(std::size_t size);
void *__real_calloc(std::size_t n, std::size_t size);
void *__real_realloc(void *p, std::size_t size);
}

namespace {
std::atomic<uint64_t> allocations{0};

void *Counted(std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  void *p = __real_malloc(size == 0 ? 1 : size);
  if (p == nullptr) {
    throw std::bad_alloc();
  }
  return p;
}

void *CountedAligned(std::size_t size, std::align_val_t align) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  const auto a = static_cast<std::size_t>(align);
  void *p = std::aligned_alloc(a, (size + a - 1) / a * a);
  if (p == nullptr) {
    throw std::bad_alloc();
  }
  return p;
}
} // namespace

namespace bench {
uint64_t HeapAllocations() { return allocations.load(std::memory_order_relaxed); }
} // namespace bench

// The malloc family, as called from the statically linked objects.
extern "C" {
void *__wrap_malloc(std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  return __real_malloc(size);
}
void *__wrap_calloc(std::size_t n, std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  return __real_calloc(n, size);
}
void *__wrap_realloc(void *p, std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  return __real_realloc(p, size);
}
}

// The global operator new, counted once and served by the real malloc.
void *operator new(std::size_t size) { return Counted(size); }
void *operator new[](std::size_t size) { return Counted(size); }
void *operator new(std::size_t size, const std::nothrow_t &) noexcept {
  try {
    return Counted(size);
  } catch (...) {
    return nullptr;
  }
}
void *operator new[](std::size_t size, const std::nothrow_t &) noexcept {
  try {
    return Counted(size);
  } catch (...) {
    return nullptr;
  }
}
void *operator new(std::size_t size, std::align_val_t align) { return CountedAligned(size, align); }
void *operator new[](std::size_t size, std::align_val_t align) {
  return CountedAligned(size, align);
}
void operator delete(void *p) noexcept { std::free(p); }
void operator delete[](void *p) noexcept { std::free(p); }
void operator delete(void *p, std::size_t) noexcept { std::free(p); }
void operator delete[](void *p, std::size_t) noexcept { std::free(p); }
void operator delete(void *p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void *p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void *p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void *p, std::size_t, std::align_val_t) noexcept { std::free(p); }
