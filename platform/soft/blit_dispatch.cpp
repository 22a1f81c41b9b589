// blit_dispatch.cpp - choosing the loop variant the processor runs best.
//
// On x86 the build carries SSE2, AVX2 and AVX-512 variants beside the portable loops
// (VANTREL_BLIT_X86); the processor is asked once which it runs. Elsewhere
// only the portable loops exist.
#include "platform/soft/blit_loops.h"
#include "platform/soft/blit_variants.h"

#include <array>

namespace soft {
namespace {

#if defined(VANTREL_BLIT_X86)
bool RunsSse2() { return __builtin_cpu_supports("sse2") != 0; }
bool RunsAvx2() { return __builtin_cpu_supports("avx2") != 0; }
bool RunsAvx512() {
  return RunsAvx2() && __builtin_cpu_supports("avx512f") != 0 &&
         __builtin_cpu_supports("avx512bw") != 0 && __builtin_cpu_supports("avx512vbmi") != 0 &&
         __builtin_cpu_supports("bmi2") != 0;
}

std::array<BlitLoopVariant, 4> Variants() {
  __builtin_cpu_init();
  return {BlitLoopVariant{"portable", &PortableBlitLoops(), true},
          BlitLoopVariant{"sse2", &Sse2BlitLoops(), RunsSse2()},
          BlitLoopVariant{"avx2", &Avx2BlitLoops(), RunsAvx2()},
          BlitLoopVariant{"avx512", &Avx512BlitLoops(), RunsAvx512()}};
}
#else
std::array<BlitLoopVariant, 1> Variants() {
  return {BlitLoopVariant{"portable", &PortableBlitLoops(), true}};
}
#endif

const auto &AllVariants() {
  static const auto variants = Variants();
  return variants;
}

// The last variant the processor runs: they are listed slowest first.
const BlitLoops &Choose() {
  const BlitLoops *best = &PortableBlitLoops();
  for (const BlitLoopVariant &v : AllVariants()) {
    if (v.runs) {
      best = v.loops;
    }
  }
  return *best;
}

} // namespace

const BlitLoops &ActiveBlitLoops() {
  static const BlitLoops &active = Choose();
  return active;
}

const BlitLoopVariant *BlitLoopVariants(int32_t *count) {
  if (count != nullptr) {
    *count = static_cast<int32_t>(AllVariants().size());
  }
  return AllVariants().data();
}

} // namespace soft
