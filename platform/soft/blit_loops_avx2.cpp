// blit_loops_avx2.cpp - keyed copy and keyed stretch on 32-byte AVX2 vectors
// for every pixel size. Built with -mavx2 and run only where the processor
// has AVX2.
#include "platform/soft/blit_kernels.h"
#include "platform/soft/blit_variants.h"

#include <immintrin.h>

namespace soft {
namespace {

template <int N> __m256i Equal(__m256i a, __m256i b) {
  if constexpr (N == 1) {
    return _mm256_cmpeq_epi8(a, b);
  } else if constexpr (N == 2) {
    return _mm256_cmpeq_epi16(a, b);
  } else {
    return _mm256_cmpeq_epi32(a, b);
  }
}

template <int N> __m256i Broadcast(uint32_t key) {
  if constexpr (N == 1) {
    return _mm256_set1_epi8(static_cast<char>(key));
  } else if constexpr (N == 2) {
    return _mm256_set1_epi16(static_cast<short>(key));
  } else {
    return _mm256_set1_epi32(static_cast<int>(key));
  }
}

// One 32-byte block of 1-, 2- or 4-byte pixels: no key pixel stores the
// source as it is, all key pixels leave the destination alone, a mix blends.
template <int N>
[[gnu::always_inline]] inline void Block(const uint8_t *from, uint8_t *to, __m256i key) {
  const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(from));
  const __m256i eq = Equal<N>(v, key);
  const int mask = _mm256_movemask_epi8(eq);
  if (mask == 0) {
    _mm256_storeu_si256(reinterpret_cast<__m256i *>(to), v);
  } else if (mask != -1) {
    const __m256i old = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(to));
    _mm256_storeu_si256(reinterpret_cast<__m256i *>(to), _mm256_blendv_epi8(v, old, eq));
  }
}

// The same on 16 bytes, for rows of 16 to 31 bytes.
template <int N> inline void HalfBlock(const uint8_t *from, uint8_t *to, __m256i key) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(from));
  const __m128i k = _mm256_castsi256_si128(key);
  __m128i eq;
  if constexpr (N == 1) {
    eq = _mm_cmpeq_epi8(v, k);
  } else if constexpr (N == 2) {
    eq = _mm_cmpeq_epi16(v, k);
  } else {
    eq = _mm_cmpeq_epi32(v, k);
  }
  const __m128i old = _mm_loadu_si128(reinterpret_cast<const __m128i *>(to));
  _mm_storeu_si128(reinterpret_cast<__m128i *>(to), _mm_blendv_epi8(v, old, eq));
}

// Rows end with a block that overlaps the one before: blocks only read the
// source, so doing a pixel twice gives the same result.
template <int N>
[[gnu::always_inline]] inline void KeyedRow(const uint8_t *from, uint8_t *to, int64_t pixels,
                                            uint32_t key) {
  const int64_t bytes = pixels * N;
  const __m256i k = Broadcast<N>(key);
  if (bytes >= 32) {
    int64_t x = 0;
    for (; x + 32 <= bytes; x += 32) {
      Block<N>(from + x, to + x, k);
    }
    if (x < bytes) {
      Block<N>(from + bytes - 32, to + bytes - 32, k);
    }
  } else if (bytes >= 16) {
    HalfBlock<N>(from, to, k);
    HalfBlock<N>(from + bytes - 16, to + bytes - 16, k);
  } else {
    kernels::KeyedRowScalar<N>(from, to, pixels, key);
  }
}

// 24-bit pixels, eight (24 bytes) per step: the pixels are spread into
// 32-bit lanes, compared, and the lane masks packed back into 24 bytes of
// byte masks. Each step reads and writes 32 bytes; the last 8 are written
// back as they were read, so a step never reaches past the row's own bytes
// (it runs only while 32 bytes remain) and never changes pixels it does not
// own.
// One step of eight 24-bit pixels at from/to; see KeyedRow3.
struct Step3 {
  __m256i key;
  __m256i spread;
  __m256i toLanes;
  __m256i toBytes;
  __m256i pack;
  __m256i keepTail;
};

[[gnu::always_inline]] inline void Block3(const uint8_t *from, uint8_t *to, const Step3 &c) {
  const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(from));
  const __m256i lanes = _mm256_shuffle_epi8(_mm256_permutevar8x32_epi32(v, c.spread), c.toLanes);
  const __m256i eq = _mm256_cmpeq_epi32(lanes, c.key);
  const int mask = _mm256_movemask_ps(_mm256_castsi256_ps(eq));
  if (mask == 0) {
    _mm_storeu_si128(reinterpret_cast<__m128i *>(to), _mm256_castsi256_si128(v));
    _mm_storel_epi64(reinterpret_cast<__m128i *>(to + 16), _mm256_extracti128_si256(v, 1));
  } else if (mask != 0xFF) {
    const __m256i skip = _mm256_or_si256(
        _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(eq, c.toBytes), c.pack), c.keepTail);
    const __m256i old = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(to));
    _mm256_storeu_si256(reinterpret_cast<__m256i *>(to), _mm256_blendv_epi8(v, old, skip));
  }
}

// 24-bit pixels, eight (24 bytes) per step: the pixels are spread into
// 32-bit lanes, compared, and the lane masks packed back into 24 bytes of
// byte masks. Each step reads and writes 32 bytes; the last 8 are written
// back as they were read, so a step runs only where 32 bytes of the row
// remain and never changes pixels it does not own. The row ends with a step
// that overlaps the one before and at most three pixels done one by one.
[[gnu::always_inline]] inline void KeyedRow3(const uint8_t *from, uint8_t *to, int64_t pixels,
                                             uint32_t key) {
  const int64_t bytes = pixels * 3;
  if (bytes < 32) {
    kernels::KeyedRowScalar<3>(from, to, pixels, key);
    return;
  }
  const Step3 c{_mm256_set1_epi32(static_cast<int>(key)),
                _mm256_setr_epi32(0, 1, 2, 3, 3, 4, 5, 6),
                _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1, 0, 1, 2, -1,
                                 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1),
                _mm256_setr_epi8(0, 0, 0, 4, 4, 4, 8, 8, 8, 12, 12, 12, -1, -1, -1, -1, 0, 0, 0, 4,
                                 4, 4, 8, 8, 8, 12, 12, 12, -1, -1, -1, -1),
                _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 7, 7),
                _mm256_setr_epi32(0, 0, 0, 0, 0, 0, -1, -1)};
  int64_t x = 0;
  for (; x + 32 <= bytes; x += 24) {
    Block3(from + x, to + x, c);
  }
  const int64_t last = (bytes - 32) / 3 * 3;
  if (last + 24 > x) {
    Block3(from + last, to + last, c);
    x = last + 24;
  }
  kernels::KeyedRowScalar<3>(from + x, to + x, (bytes - x) / 3, key);
}

// 24-bit pixels, thirty-two (96 bytes, three vectors) per step, for the
// body of long rows: each vector is compared byte for byte with the key laid
// out in the vector's own phase (32 bytes is not a whole number of pixels),
// and a pixel is the key where all three of its bytes are. Most steps of a
// sprite hold no key pixel (stored as read, three plain stores) or only key
// pixels (nothing stored); the others blend with the destination under the
// pixel mask widened back to bytes. Nothing outside the step's 96 bytes is
// read or written.
// A step's 96 byte flags as two words: bytes 0 to 63, and 64 to 95.
struct Bits96 {
  uint64_t lo;
  uint64_t hi;
};

constexpr Bits96 FirstBytes() {
  Bits96 bits{0, 0};
  for (int i = 0; i < 96; i += 3) {
    if (i < 64) {
      bits.lo |= uint64_t{1} << i;
    } else {
      bits.hi |= uint64_t{1} << (i - 64);
    }
  }
  return bits;
}
constexpr Bits96 kFirstBytes = FirstBytes(); // bit 3i: pixel i's first byte

// The pixels whose three bytes all equal the key's, as their first bytes'
// bits (pixel 21 straddles the two words).
[[gnu::always_inline]] inline Bits96 KeyPixels(uint32_t m0, uint32_t m1, uint32_t m2) {
  const uint64_t lo = uint64_t{m0} | uint64_t{m1} << 32;
  const uint64_t hi = m2;
  return {lo & (lo >> 1 | hi << 63) & (lo >> 2 | hi << 62) & kFirstBytes.lo,
          hi & hi >> 1 & hi >> 2 & kFirstBytes.hi};
}

struct Keys96 {
  __m256i k0, k1, k2;
};

// The key's three bytes repeated from phase 0, 2 and 1 (the byte of a pixel
// at the first byte of the step's first, second and third vector), made from
// a broadcast key by byte shuffles.
Keys96 KeysInPhase(uint32_t key) {
  const __m256i k = _mm256_set1_epi32(static_cast<int>(key));
  return {_mm256_shuffle_epi8(k, _mm256_setr_epi8(0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1,
                                                  2, 0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1)),
          _mm256_shuffle_epi8(k, _mm256_setr_epi8(2, 0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2, 0,
                                                  1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2, 0)),
          _mm256_shuffle_epi8(k, _mm256_setr_epi8(1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2,
                                                  0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2, 0, 1, 2))};
}

// 32 mask bits to 32 bytes of 0xFF where the bit is set.
[[gnu::always_inline]] inline __m256i BytesOf(uint32_t bits) {
  const __m256i spread =
      _mm256_shuffle_epi8(_mm256_set1_epi32(static_cast<int>(bits)),
                          _mm256_setr_epi8(0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 2,
                                           2, 2, 2, 2, 2, 3, 3, 3, 3, 3, 3, 3, 3));
  const __m256i select = _mm256_set1_epi64x(static_cast<long long>(0x8040201008040201ull));
  return _mm256_cmpeq_epi8(_mm256_and_si256(spread, select), select);
}

[[gnu::always_inline]] inline void Step96(const uint8_t *from, uint8_t *to, const Keys96 &k) {
  const __m256i v0 = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(from));
  const __m256i v1 = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(from + 32));
  const __m256i v2 = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(from + 64));
  const auto m0 = static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(v0, k.k0)));
  const auto m1 = static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(v1, k.k1)));
  const auto m2 = static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(v2, k.k2)));
  auto *out = reinterpret_cast<__m256i *>(to);
  // No byte in the key's: no key pixel. Every byte the key's: all key pixels.
  if ((m0 | m1 | m2) == 0) {
    _mm256_storeu_si256(out, v0);
    _mm256_storeu_si256(out + 1, v1);
    _mm256_storeu_si256(out + 2, v2);
    return;
  }
  if ((m0 & m1 & m2) == 0xFFFFFFFFu) {
    return;
  }
  const Bits96 keyPixels = KeyPixels(m0, m1, m2);
  if ((keyPixels.lo | keyPixels.hi) == 0) {
    _mm256_storeu_si256(out, v0);
    _mm256_storeu_si256(out + 1, v1);
    _mm256_storeu_si256(out + 2, v2);
  } else if (keyPixels.lo != kFirstBytes.lo || keyPixels.hi != kFirstBytes.hi) {
    // Each key pixel's three bytes; pixel 21's last two are the high word's first.
    const uint64_t skipLo = keyPixels.lo | keyPixels.lo << 1 | keyPixels.lo << 2;
    const uint64_t skipHi =
        keyPixels.hi | keyPixels.hi << 1 | keyPixels.hi << 2 | (keyPixels.lo >> 63) * 3;
    const __m256i s0 = BytesOf(static_cast<uint32_t>(skipLo));
    const __m256i s1 = BytesOf(static_cast<uint32_t>(skipLo >> 32));
    const __m256i s2 = BytesOf(static_cast<uint32_t>(skipHi));
    _mm256_storeu_si256(out, _mm256_blendv_epi8(v0, _mm256_loadu_si256(out), s0));
    _mm256_storeu_si256(out + 1, _mm256_blendv_epi8(v1, _mm256_loadu_si256(out + 1), s1));
    _mm256_storeu_si256(out + 2, _mm256_blendv_epi8(v2, _mm256_loadu_si256(out + 2), s2));
  }
}

[[gnu::always_inline]] inline void KeyedRow3Wide(const uint8_t *from, uint8_t *to, int64_t pixels,
                                                 uint32_t key) {
  int64_t x = 0; // pixels done
  if (pixels >= 32) {
    const Keys96 k = KeysInPhase(key);
    for (; x + 32 <= pixels; x += 32) {
      Step96(from + x * 3, to + x * 3, k);
    }
  }
  KeyedRow3(from + x * 3, to + x * 3, pixels - x, key);
}

void CopyKeyed(const ConstPixelArea &src, const PixelArea &dst, int32_t bytes, uint32_t key) {
  kernels::CopyKeyedBySize<KeyedRow<1>, KeyedRow<2>, KeyedRow3Wide, KeyedRow<4>>(src, dst, bytes,
                                                                                 key);
}

void Stretch(const ConstPixelArea &src, const PixelArea &dst, int32_t bytes, bool keyed,
             uint32_t key) {
  kernels::StretchBySize<KeyedRow<1>, KeyedRow<2>, KeyedRow3Wide, KeyedRow<4>>(src, dst, bytes,
                                                                               keyed, key);
}

constexpr BlitLoops kAvx2{kernels::CopyRows, CopyKeyed, Stretch};

} // namespace

const BlitLoops &Avx2BlitLoops() { return kAvx2; }

} // namespace soft
