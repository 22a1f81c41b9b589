// blit_loops_sse2.cpp - keyed copy and keyed stretch on 16-byte SSE2 vectors
// for 8-, 16- and 32-bit pixels; 24-bit pixels take the scalar row. Built
// with -msse2 and run only where the processor has SSE2.
#include "platform/soft/blit_kernels.h"
#include "platform/soft/blit_variants.h"

#include <emmintrin.h>

namespace soft {
namespace {

template <int N> __m128i Equal(__m128i a, __m128i b) {
  if constexpr (N == 1) {
    return _mm_cmpeq_epi8(a, b);
  } else if constexpr (N == 2) {
    return _mm_cmpeq_epi16(a, b);
  } else {
    return _mm_cmpeq_epi32(a, b);
  }
}

template <int N> __m128i Broadcast(uint32_t key) {
  if constexpr (N == 1) {
    return _mm_set1_epi8(static_cast<char>(key));
  } else if constexpr (N == 2) {
    return _mm_set1_epi16(static_cast<short>(key));
  } else {
    return _mm_set1_epi32(static_cast<int>(key));
  }
}

// One 16-byte block: no key pixel stores the source as it is, all key pixels
// leave the destination alone, a mix blends the two.
template <int N>
[[gnu::always_inline]] inline void Block(const uint8_t *from, uint8_t *to, __m128i key) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(from));
  const __m128i eq = Equal<N>(v, key);
  const int mask = _mm_movemask_epi8(eq);
  if (mask == 0) {
    _mm_storeu_si128(reinterpret_cast<__m128i *>(to), v);
  } else if (mask != 0xFFFF) {
    const __m128i old = _mm_loadu_si128(reinterpret_cast<const __m128i *>(to));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(to),
                     _mm_or_si128(_mm_and_si128(eq, old), _mm_andnot_si128(eq, v)));
  }
}

// A row of 16 bytes or more ends with a block that overlaps the one before:
// blocks only read the source, so doing a pixel twice gives the same result.
template <int N>
[[gnu::always_inline]] inline void KeyedRow(const uint8_t *from, uint8_t *to, int64_t pixels,
                                            uint32_t key) {
  if constexpr (N == 3) {
    kernels::KeyedRowScalar<3>(from, to, pixels, key);
  } else {
    const int64_t bytes = pixels * N;
    if (bytes < 16) {
      kernels::KeyedRowScalar<N>(from, to, pixels, key);
      return;
    }
    const __m128i k = Broadcast<N>(key);
    int64_t x = 0;
    for (; x + 16 <= bytes; x += 16) {
      Block<N>(from + x, to + x, k);
    }
    if (x < bytes) {
      Block<N>(from + bytes - 16, to + bytes - 16, k);
    }
  }
}

void CopyKeyed(const ConstPixelArea &src, const PixelArea &dst, int32_t bytes, uint32_t key) {
  kernels::CopyKeyedBySize<KeyedRow<1>, KeyedRow<2>, KeyedRow<3>, KeyedRow<4>>(src, dst, bytes,
                                                                               key);
}

void Stretch(const ConstPixelArea &src, const PixelArea &dst, int32_t bytes, bool keyed,
             uint32_t key) {
  kernels::StretchBySize<KeyedRow<1>, KeyedRow<2>, KeyedRow<3>, KeyedRow<4>>(src, dst, bytes, keyed,
                                                                             key);
}

constexpr BlitLoops kSse2{kernels::CopyRows, CopyKeyed, Stretch};

} // namespace

const BlitLoops &Sse2BlitLoops() { return kSse2; }

} // namespace soft
