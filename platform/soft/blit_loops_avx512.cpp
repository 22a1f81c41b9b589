// blit_loops_avx512.cpp - keyed copy and keyed stretch with AVX-512 masked
// stores for 8-, 16- and 32-bit pixels: each 64-byte step compares the source
// with the key into a mask and stores exactly the pixels that differ, with no
// read of the destination and no branch on the pixels. A row's last partial
// step masks off the pixels past its end, for the load as for the store.
// Built with -mavx512f -mavx512bw -mbmi2 and run only where the processor has
// AVX-512 F and BW and BMI2.
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

// 24-bit pixels, sixteen (48 bytes) per step: the pixels are spread into
// 32-bit lanes (a dword permute puts each lane's twelve bytes in place, a
// byte shuffle within lanes spreads them), compared, and the mask of pixels
// to store is widened to three bits a pixel for a byte-masked store.
[[gnu::always_inline]] inline __mmask64 Triple(uint32_t pixels) {
  const uint64_t one = _pdep_u64(pixels, 0x249249249249ull);
  return one | one << 1 | one << 2;
}

[[gnu::always_inline]] inline void KeyedRow3(const uint8_t *from, uint8_t *to, int64_t pixels,
                                             uint32_t key) {
  const __m512i k = _mm512_set1_epi32(static_cast<int>(key));
  const __m512i place = _mm512_setr_epi32(0, 1, 2, 3, 3, 4, 5, 6, 6, 7, 8, 9, 9, 10, 11, 12);
  const __m512i spread =
      _mm512_set_epi8(-1, 11, 10, 9, -1, 8, 7, 6, -1, 5, 4, 3, -1, 2, 1, 0, -1, 11, 10, 9, -1, 8, 7,
                      6, -1, 5, 4, 3, -1, 2, 1, 0, -1, 11, 10, 9, -1, 8, 7, 6, -1, 5, 4, 3, -1, 2,
                      1, 0, -1, 11, 10, 9, -1, 8, 7, 6, -1, 5, 4, 3, -1, 2, 1, 0);
  int64_t x = 0;
  for (; x < pixels; x += 16) {
    const int64_t count = pixels - x < 16 ? pixels - x : 16;
    const auto inRow = static_cast<uint32_t>((uint32_t{1} << count) - 1);
    const __m512i v = _mm512_maskz_loadu_epi8(Triple(inRow), from + x * 3);
    const __m512i lanes =
        _mm512_shuffle_epi8(_mm512_maskz_permutexvar_epi32(0xFFFF, place, v), spread);
    const uint32_t differ = _mm512_cmpneq_epi32_mask(lanes, k) & inRow;
    _mm512_mask_storeu_epi8(to + x * 3, Triple(differ), v);
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
  case 3:
    kernels::CopyKeyedRows<3, KeyedRow3>(src, dst, key);
    break;
  case 4:
    kernels::CopyKeyedRows<4, KeyedRow<4>>(src, dst, key);
    break;
  default:
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
  case 3:
    kernels::StretchRows<3, KeyedRow3>(src, dst, keyed, key);
    break;
  case 4:
    kernels::StretchRows<4, KeyedRow<4>>(src, dst, keyed, key);
    break;
  default:
    break;
  }
}

constexpr BlitLoops kAvx512{kernels::CopyRows, CopyKeyed, Stretch};

} // namespace

const BlitLoops &Avx512BlitLoops() { return kAvx512; }

} // namespace soft
