// blit_loops_avx512.cpp - keyed copy and keyed stretch with AVX-512 masked
// stores for 8-, 16- and 32-bit pixels: each 64-byte step compares the source
// with the key into a mask and stores exactly the pixels that differ, with no
// read of the destination and no branch on the pixels. A row's last partial
// step masks off the pixels past its end, for the load as for the store.
// 24-bit pixels take the AVX2 loops. Built with -mavx512f -mavx512bw and run
// only where the processor has AVX-512 F and BW (and so AVX2).
#include "platform/soft/blit_kernels.h"
#include "platform/soft/blit_variants.h"

#include <immintrin.h>

namespace soft {
namespace {

template <int N> struct Lanes;

template <> struct Lanes<1> {
  using Mask = __mmask64;
  static __m512i Broadcast(uint32_t key) { return _mm512_set1_epi8(static_cast<char>(key)); }
  static Mask Differ(__m512i a, __m512i b) { return _mm512_cmpneq_epi8_mask(a, b); }
  static __m512i Load(Mask m, const uint8_t *p) { return _mm512_maskz_loadu_epi8(m, p); }
  static void Store(uint8_t *p, Mask m, __m512i v) { _mm512_mask_storeu_epi8(p, m, v); }
};

template <> struct Lanes<2> {
  using Mask = __mmask32;
  static __m512i Broadcast(uint32_t key) { return _mm512_set1_epi16(static_cast<short>(key)); }
  static Mask Differ(__m512i a, __m512i b) { return _mm512_cmpneq_epi16_mask(a, b); }
  static __m512i Load(Mask m, const uint8_t *p) { return _mm512_maskz_loadu_epi16(m, p); }
  static void Store(uint8_t *p, Mask m, __m512i v) { _mm512_mask_storeu_epi16(p, m, v); }
};

template <> struct Lanes<4> {
  using Mask = __mmask16;
  static __m512i Broadcast(uint32_t key) { return _mm512_set1_epi32(static_cast<int>(key)); }
  static Mask Differ(__m512i a, __m512i b) { return _mm512_cmpneq_epi32_mask(a, b); }
  static __m512i Load(Mask m, const uint8_t *p) { return _mm512_maskz_loadu_epi32(m, p); }
  static void Store(uint8_t *p, Mask m, __m512i v) { _mm512_mask_storeu_epi32(p, m, v); }
};

template <int N>
[[gnu::always_inline]] inline void KeyedRow(const uint8_t *from, uint8_t *to, int64_t pixels,
                                            uint32_t key) {
  using L = Lanes<N>;
  constexpr int64_t kPer = 64 / N;
  const __m512i k = L::Broadcast(key);
  int64_t x = 0;
  for (; x + kPer <= pixels; x += kPer) {
    const __m512i v = _mm512_loadu_si512(from + x * N);
    L::Store(to + x * N, L::Differ(v, k), v);
  }
  if (x < pixels) {
    const auto rest = static_cast<typename L::Mask>((uint64_t{1} << (pixels - x)) - 1);
    const __m512i v = L::Load(rest, from + x * N);
    L::Store(to + x * N, static_cast<typename L::Mask>(L::Differ(v, k) & rest), v);
  }
}

void CopyKeyed(const ConstPixelArea &src, const PixelArea &dst, int32_t bytes, uint32_t key) {
  switch (bytes) {
  case 1:
    kernels::CopyKeyedRows<1, KeyedRow<1>>(src, dst, key);
    break;
  case 2:
    kernels::CopyKeyedRows<2, KeyedRow<2>>(src, dst, key);
    break;
  case 4:
    kernels::CopyKeyedRows<4, KeyedRow<4>>(src, dst, key);
    break;
  default:
    Avx2BlitLoops().copyKeyed(src, dst, bytes, key);
    break;
  }
}

void Stretch(const ConstPixelArea &src, const PixelArea &dst, int32_t bytes, bool keyed,
             uint32_t key) {
  switch (bytes) {
  case 1:
    kernels::StretchRows<1, KeyedRow<1>>(src, dst, keyed, key);
    break;
  case 2:
    kernels::StretchRows<2, KeyedRow<2>>(src, dst, keyed, key);
    break;
  case 4:
    kernels::StretchRows<4, KeyedRow<4>>(src, dst, keyed, key);
    break;
  default:
    Avx2BlitLoops().stretch(src, dst, bytes, keyed, key);
    break;
  }
}

constexpr BlitLoops kAvx512{kernels::CopyRows, CopyKeyed, Stretch};

} // namespace

const BlitLoops &Avx512BlitLoops() { return kAvx512; }

} // namespace soft
