// blit_dispatch.cpp - choosing, for each operation and pixel size, the loop
// variant that runs best on this processor.
//
// On x86 the build carries SSE2, AVX2 and AVX-512 variants beside the portable loops
// (VANTREL_BLIT_X86); the processor is asked once which it runs. The Windows
// build carries SSE2 alone (VANTREL_BLIT_X86_SSE2): GCC cannot give AVX code
// there the 32-byte aligned stack it may spill to. The web build carries the
// SSE2 loops as WebAssembly SIMD (VANTREL_BLIT_WASM_SIMD).
// Elsewhere only the portable loops exist.
#include "platform/soft/blit_loops.h"
#include "platform/soft/blit_variants.h"

#include <array>
#include <cstring>

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
#elif defined(VANTREL_BLIT_X86_SSE2)
std::array<BlitLoopVariant, 2> Variants() {
  __builtin_cpu_init();
  return {BlitLoopVariant{"portable", &PortableBlitLoops(), true},
          BlitLoopVariant{"sse2", &Sse2BlitLoops(), __builtin_cpu_supports("sse2") != 0}};
}
#elif defined(VANTREL_BLIT_WASM_SIMD)
// WebAssembly SIMD is part of the build, not asked of the processor: every
// browser that loads the program runs it.
std::array<BlitLoopVariant, 2> Variants() {
  return {BlitLoopVariant{"portable", &PortableBlitLoops(), true},
          BlitLoopVariant{"sse2", &Sse2BlitLoops(), true}};
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

// The variants to try for each operation and pixel size, fastest first, as
// measured (scripts/bench.sh, the "loops alone" tables) on an AVX-512
// machine: the widest instruction set does not win everywhere. For the keyed
// copy of 24-bit pixels AVX-512's byte-masked stores run well behind AVX2's
// 96-byte steps on a 256x256 sprite (about 7 against 11 Gpixel/s); everywhere
// else AVX-512 leads. The first variant named that the processor runs is
// used; portable always runs.
struct Preference {
  const char *order[4];
};

constexpr Preference kKeyedCopy[4] = {
    {{"avx512", "avx2", "sse2", "portable"}}, // 8 bits
    {{"avx512", "avx2", "sse2", "portable"}}, // 16 bits
    {{"avx2", "avx512", "sse2", "portable"}}, // 24 bits
    {{"avx512", "avx2", "sse2", "portable"}}, // 32 bits
};
constexpr Preference kStretch[4] = {
    {{"avx512", "avx2", "sse2", "portable"}},
    {{"avx512", "avx2", "sse2", "portable"}},
    {{"avx512", "avx2", "sse2", "portable"}},
    {{"avx512", "avx2", "sse2", "portable"}},
};

const BlitLoopVariant &Pick(const Preference &preference) {
  for (const char *name : preference.order) {
    for (const BlitLoopVariant &v : AllVariants()) {
      if (v.runs && std::strcmp(v.name, name) == 0) {
        return v;
      }
    }
  }
  return AllVariants()[0]; // portable
}

struct Choice {
  const BlitLoopVariant *keyedCopy[4];
  const BlitLoopVariant *stretch[4];
};

const Choice &Chosen() {
  static const Choice choice = [] {
    Choice c{};
    for (int i = 0; i < 4; ++i) {
      c.keyedCopy[i] = &Pick(kKeyedCopy[i]);
      c.stretch[i] = &Pick(kStretch[i]);
    }
    return c;
  }();
  return choice;
}

bool KnownSize(int32_t bytes) { return bytes >= 1 && bytes <= 4; }

void CopyKeyedChosen(const ConstPixelArea &src, const PixelArea &dst, int32_t bytes, uint32_t key) {
  const BlitLoops &loops =
      KnownSize(bytes) ? *Chosen().keyedCopy[bytes - 1]->loops : PortableBlitLoops();
  loops.copyKeyed(src, dst, bytes, key);
}

void StretchChosen(const ConstPixelArea &src, const PixelArea &dst, int32_t bytes, bool keyed,
                   uint32_t key) {
  const BlitLoops &loops =
      KnownSize(bytes) ? *Chosen().stretch[bytes - 1]->loops : PortableBlitLoops();
  loops.stretch(src, dst, bytes, keyed, key);
}

} // namespace

const BlitLoops &ActiveBlitLoops() {
  // Plain copies are memcpy of rows in every variant.
  static const BlitLoops active{PortableBlitLoops().copy, CopyKeyedChosen, StretchChosen};
  return active;
}

const char *ActiveBlitVariant(BlitOp op, int32_t bytes) {
  if (!KnownSize(bytes)) {
    return "portable";
  }
  const Choice &c = Chosen();
  return (op == BlitOp::KeyedCopy ? c.keyedCopy : c.stretch)[bytes - 1]->name;
}

const BlitLoopVariant *BlitLoopVariants(int32_t *count) {
  if (count != nullptr) {
    *count = static_cast<int32_t>(AllVariants().size());
  }
  return AllVariants().data();
}

} // namespace soft
