// heap_count.h - counting the heap allocations made by the host's own code.
//
// The benchmark program replaces the global operator new and, through the
// linker's --wrap, the malloc family as called from the objects linked
// statically into it (the host core, the soft device, this program). SDL and
// the C++ runtime's own shared libraries are outside the count.
#ifndef VANTREL_BENCH_HEAP_COUNT_H
#define VANTREL_BENCH_HEAP_COUNT_H

#include <cstdint>

namespace bench {

uint64_t HeapAllocations();

} // namespace bench

#endif
