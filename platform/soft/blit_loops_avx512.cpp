// blit_loops_avx512.cpp - keyed copy and keyed stretch with AVX-512 masked
// stores for 8-, 16- and 32-bit pixels: each 64-byte step compares the source
// with the key into a mask and stores exactly the pixels that differ, with no
// read of the destination and no branch on the pixels. A row's last partial
// step masks off the pixels past its end, for the load as for the store.
// Built with -mavx512f -mavx512bw -mbmi2 (the byte permutes add VBMI for
// their own function) and run only where the processor has AVX-512 F, BW and
// VBMI, and BMI2.
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
  kernels::CopyKeyedBySize<KeyedRow<1>, KeyedRow<2>, KeyedRow3, KeyedRow<4>>(src, dst, bytes, key);
}

// Stretching 16- and 32-bit pixels by permutes. The columns are the same for
// every row, so they are worked out once per blit: each output vector of E
// pixels takes its pixels from a window of 2E source pixels starting at its
// first column, and a two-register permute picks them. A window always holds
// them while the source is at most twice as wide as the destination.
template <int N> struct Permute;

template <> struct Permute<2> {
  static constexpr int32_t kOut = 32; // pixels per output vector
  using Mask = __mmask32;
  using Index = uint16_t;
  static Mask First(int64_t n) {
    return n >= 32 ? ~Mask{0} : static_cast<Mask>((uint32_t{1} << (n > 0 ? n : 0)) - 1);
  }
  static __m512i Pick(__m512i a, __m512i idx, __m512i b) {
    return _mm512_permutex2var_epi16(a, idx, b);
  }
};

template <> struct Permute<4> {
  static constexpr int32_t kOut = 16;
  using Mask = __mmask16;
  using Index = uint32_t;
  static Mask First(int64_t n) {
    return n >= 16 ? static_cast<Mask>(0xFFFF) : static_cast<Mask>((1u << (n > 0 ? n : 0)) - 1);
  }
  static __m512i Pick(__m512i a, __m512i idx, __m512i b) {
    return _mm512_permutex2var_epi32(a, idx, b);
  }
};

template <int N>
void StretchByPermute(const ConstPixelArea &src, const PixelArea &dst, bool keyed, uint32_t key) {
  using P = Permute<N>;
  using L = Lanes<N>;
  constexpr int32_t kOut = P::kOut;
  constexpr int32_t kVectors = 32;
  constexpr int32_t kChunk = kVectors * kOut;
  alignas(64) typename P::Index index[kVectors * kOut];
  int32_t first[kVectors];
  keyed = keyed && kernels::KeyFits<N>(key);
  const __m512i k = L::Broadcast(key);
  ScaleWalk cols(src.width, dst.width);
  for (int32_t c0 = 0; c0 < dst.width; c0 += kChunk) {
    const int32_t count = kernels::Fewer(kChunk, dst.width - c0);
    const int32_t vectors = (count + kOut - 1) / kOut;
    for (int32_t v = 0; v < vectors; ++v) {
      first[v] = static_cast<int32_t>(cols.Position());
      for (int32_t e = 0; e < kOut; ++e) {
        typename P::Index rel = 0;
        if (v * kOut + e < count) {
          rel = static_cast<typename P::Index>(cols.Position() - first[v]);
          cols.Next();
        }
        index[v * kOut + e] = rel;
      }
    }
    ScaleWalk rows(src.height, dst.height);
    for (int32_t y = 0; y < dst.height; ++y, rows.Next()) {
      const uint8_t *srcRow = src.pixels + rows.Position() * src.pitch;
      uint8_t *to = dst.pixels + y * dst.pitch + int64_t{c0} * N;
      for (int32_t v = 0; v < vectors; ++v) {
        const int64_t avail = int64_t{src.width} - first[v];
        const uint8_t *window = srcRow + int64_t{first[v]} * N;
        const __m512i lo = L::Load(P::First(avail), window);
        const __m512i hi = L::Load(P::First(avail - kOut), window + 64);
        const __m512i idx = _mm512_load_si512(index + v * kOut);
        const __m512i px = P::Pick(lo, idx, hi);
        typename P::Mask store = P::First(count - v * kOut);
        if (keyed) {
          store = static_cast<typename P::Mask>(store & L::Differ(px, k));
        }
        L::Store(to + int64_t{v} * kOut * N, store, px);
      }
    }
  }
}

// The same for 8- and 24-bit pixels with byte permutes (VBMI): a window of
// 128 source bytes per output vector of 64 bytes (8 bits) or 48 bytes, sixteen
// pixels (24 bits). For 24 bits a second permute spreads the same pixels into
// 32-bit lanes for the comparison with the key.
template <int N>
[[gnu::target("avx512vbmi")]] void
StretchByBytePermute(const ConstPixelArea &src, const PixelArea &dst, bool keyed, uint32_t key) {
  constexpr int32_t kOut = N == 1 ? 64 : 16; // pixels per output vector
  constexpr int32_t kVectors = N == 1 ? 8 : 32;
  constexpr int32_t kChunk = kVectors * kOut;
  alignas(64) uint8_t index[kVectors * 64];
  alignas(64) uint8_t spread[kVectors * 64]; // 24 bits: pixel e's bytes in lane e
  int32_t first[kVectors];
  keyed = keyed && kernels::KeyFits<N>(key);
  const __m512i k8 = _mm512_set1_epi8(static_cast<char>(key));
  const __m512i k32 = _mm512_set1_epi32(static_cast<int>(key));
  const __m512i low24 = _mm512_set1_epi32(0x00FFFFFF);
  auto firstBytes = [](int64_t n) {
    return n >= 64 ? ~__mmask64{0} : (__mmask64{1} << (n > 0 ? n : 0)) - 1;
  };
  ScaleWalk cols(src.width, dst.width);
  for (int32_t c0 = 0; c0 < dst.width; c0 += kChunk) {
    const int32_t count = kernels::Fewer(kChunk, dst.width - c0);
    const int32_t vectors = (count + kOut - 1) / kOut;
    for (int32_t v = 0; v < vectors; ++v) {
      first[v] = static_cast<int32_t>(cols.Position());
      for (int32_t e = 0; e < kOut; ++e) {
        int32_t rel = 0;
        if (v * kOut + e < count) {
          rel = static_cast<int32_t>(cols.Position() - first[v]) * N;
          cols.Next();
        }
        for (int32_t b = 0; b < N; ++b) {
          index[v * 64 + e * N + b] = static_cast<uint8_t>(rel + b);
        }
        if constexpr (N == 3) {
          for (int32_t b = 0; b < 3; ++b) {
            spread[v * 64 + e * 4 + b] = static_cast<uint8_t>(rel + b);
          }
          spread[v * 64 + e * 4 + 3] = 0;
        }
      }
      for (int32_t b = kOut * N; b < 64; ++b) {
        index[v * 64 + b] = 0;
      }
    }
    ScaleWalk rows(src.height, dst.height);
    for (int32_t y = 0; y < dst.height; ++y, rows.Next()) {
      const uint8_t *srcRow = src.pixels + rows.Position() * src.pitch;
      uint8_t *to = dst.pixels + y * dst.pitch + int64_t{c0} * N;
      for (int32_t v = 0; v < vectors; ++v) {
        const int64_t avail = (int64_t{src.width} - first[v]) * N;
        const uint8_t *window = srcRow + int64_t{first[v]} * N;
        const __m512i lo = _mm512_maskz_loadu_epi8(firstBytes(avail), window);
        const __m512i hi = _mm512_maskz_loadu_epi8(firstBytes(avail - 64), window + 64);
        const __m512i px = _mm512_permutex2var_epi8(lo, _mm512_load_si512(index + v * 64), hi);
        const int32_t pixels = kernels::Fewer(kOut, count - v * kOut);
        __mmask64 store = firstBytes(int64_t{pixels} * N);
        if (keyed) {
          if constexpr (N == 1) {
            store &= _mm512_cmpneq_epi8_mask(px, k8);
          } else {
            const __m512i lanes = _mm512_and_si512(
                _mm512_permutex2var_epi8(lo, _mm512_load_si512(spread + v * 64), hi), low24);
            store &= Triple(_mm512_cmpneq_epi32_mask(lanes, k32));
          }
        }
        _mm512_mask_storeu_epi8(to + int64_t{v} * kOut * N, store, px);
      }
    }
  }
}

void Stretch(const ConstPixelArea &src, const PixelArea &dst, int32_t bytes, bool keyed,
             uint32_t key) {
  if (src.width > 0 && src.height > 0 && dst.width > 0 && dst.height > 0 &&
      int64_t{src.width} <= 2 * int64_t{dst.width}) {
    if (bytes == 1) {
      StretchByBytePermute<1>(src, dst, keyed, key);
      return;
    }
    if (bytes == 3) {
      StretchByBytePermute<3>(src, dst, keyed, key);
      return;
    }
    if (bytes == 2) {
      StretchByPermute<2>(src, dst, keyed, key);
      return;
    }
    if (bytes == 4) {
      StretchByPermute<4>(src, dst, keyed, key);
      return;
    }
  }
  kernels::StretchBySize<KeyedRow<1>, KeyedRow<2>, KeyedRow3, KeyedRow<4>>(src, dst, bytes, keyed,
                                                                           key);
}

constexpr BlitLoops kAvx512{kernels::CopyRows, CopyKeyed, Stretch};

} // namespace

const BlitLoops &Avx512BlitLoops() { return kAvx512; }

} // namespace soft
