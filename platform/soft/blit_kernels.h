// blit_kernels.h - pieces shared by the vectorised loop variants: pixel loads,
// a scalar keyed row for short runs and row ends, and the stretch driver.
//
// A keyed stretch is done one destination row at a time: the source pixels
// under the row's columns are gathered once into a small buffer on the stack
// (again only when the source row changes), and the buffer is then copied
// like an unscaled keyed row. The column positions come from the same
// ScaleWalk as the portable loop, so both pick the same source pixels.
#ifndef VANTREL_PLATFORM_SOFT_BLIT_KERNELS_H
#define VANTREL_PLATFORM_SOFT_BLIT_KERNELS_H

#include "platform/soft/blit_loops.h"
#include "platform/soft/scale_walk.h"

#include <cstdint>
#include <cstring>

// Everything here has internal linkage: each variant file is built for its
// own instruction set and must keep its own copy of these functions.
namespace soft::kernels {
namespace {

// The smaller of two counts. Not std::min: a library function instantiated
// here would be built for this file's instruction set, and the linker could
// hand that copy to code running anywhere.
inline int32_t Fewer(int32_t a, int32_t b) { return a < b ? a : b; }

template <int N> inline uint32_t LoadPixel(const uint8_t *p) {
  if constexpr (N == 1) {
    return *p;
  } else if constexpr (N == 2) {
    uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
  } else if constexpr (N == 3) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16;
  } else {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
  }
}

// Whether `key` can equal an N-byte pixel at all; a key with bits above the
// pixel's size matches nothing.
template <int N> constexpr bool KeyFits(uint32_t key) {
  if constexpr (N == 4) {
    return true;
  } else {
    return (key >> (8 * N)) == 0;
  }
}

template <int N>
inline void KeyedRowScalar(const uint8_t *from, uint8_t *to, int64_t pixels, uint32_t key) {
  for (int64_t x = 0; x < pixels; ++x, from += N, to += N) {
    if (LoadPixel<N>(from) != key) {
      std::memcpy(to, from, N);
    }
  }
}

inline void CopyRows(const ConstPixelArea &src, const PixelArea &dst, int32_t bytes) {
  const auto rowBytes = static_cast<size_t>(src.width) * static_cast<size_t>(bytes);
  for (int32_t y = 0; y < src.height; ++y) {
    std::memcpy(dst.pixels + y * dst.pitch, src.pixels + y * src.pitch, rowBytes);
  }
}

// Runs `Row(from, to, pixels, key)` over every row of a same-size keyed copy,
// or plain row copies when the key cannot match.
template <int N, auto Row>
inline void CopyKeyedRows(const ConstPixelArea &src, const PixelArea &dst, uint32_t key) {
  const auto rowBytes = static_cast<size_t>(src.width) * N;
  const bool keyed = KeyFits<N>(key);
  for (int32_t y = 0; y < src.height; ++y) {
    const uint8_t *from = src.pixels + y * src.pitch;
    uint8_t *to = dst.pixels + y * dst.pitch;
    if (keyed) {
      Row(from, to, src.width, key);
    } else {
      std::memcpy(to, from, rowBytes);
    }
  }
}

// Copies the source pixels at `offsets` (bytes into srcRow, ascending) to
// out. 24-bit pixels move as 4-byte words where the fourth byte still lies in
// the source row (`rowBytes`); the extra byte lands where the next pixel goes,
// or in the byte of padding behind the last one.
template <int N>
inline void Gather(const uint8_t *srcRow, int64_t rowBytes, const int32_t *offsets, int32_t count,
                   uint8_t *out) {
  int32_t i = 0;
  if constexpr (N == 3) {
    int32_t words = count;
    while (words > 0 && offsets[words - 1] + 4 > rowBytes) {
      --words;
    }
    for (; i < words; ++i) {
      std::memcpy(out + i * 3, srcRow + offsets[i], 4);
    }
  }
  for (; i < count; ++i) {
    std::memcpy(out + i * N, srcRow + offsets[i], N);
  }
}

// Columns handled per pass; the gathered row lives on the stack.
constexpr int32_t kStretchChunk = 512;

// Scales src into dst, nearest pixel, skipping key pixels when `keyed`, with
// `Row` doing the keyed copy of each gathered row.
template <int N, auto Row>
inline void StretchRows(const ConstPixelArea &src, const PixelArea &dst, bool keyed, uint32_t key) {
  if (src.width <= 0 || src.height <= 0 || dst.width <= 0 || dst.height <= 0) {
    return;
  }
  if (int64_t{src.width} * N > INT32_MAX) {
    PortableBlitLoops().stretch(src, dst, N, keyed, key); // beyond any surface of the device
    return;
  }
  keyed = keyed && KeyFits<N>(key);
  int32_t offsets[kStretchChunk];
  alignas(32) uint8_t gathered[kStretchChunk * N + 1];
  ScaleWalk cols(src.width, dst.width);
  for (int32_t c0 = 0; c0 < dst.width; c0 += kStretchChunk) {
    const int32_t count = Fewer(kStretchChunk, dst.width - c0);
    for (int32_t i = 0; i < count; ++i, cols.Next()) {
      offsets[i] = static_cast<int32_t>(cols.Position()) * N;
    }
    ScaleWalk rows(src.height, dst.height);
    int64_t have = -1;
    for (int32_t y = 0; y < dst.height; ++y, rows.Next()) {
      if (rows.Position() != have) {
        have = rows.Position();
        Gather<N>(src.pixels + have * src.pitch, int64_t{src.width} * N, offsets, count, gathered);
      }
      uint8_t *to = dst.pixels + y * dst.pitch + int64_t{c0} * N;
      if (keyed) {
        Row(gathered, to, count, key);
      } else {
        std::memcpy(to, gathered, static_cast<size_t>(count) * N);
      }
    }
  }
}

// A variant's keyed copy and keyed stretch for every pixel size, given its
// keyed row copiers for 1-, 2-, 3- and 4-byte pixels. Other sizes draw nothing.
template <auto Row1, auto Row2, auto Row3, auto Row4>
inline void CopyKeyedBySize(const ConstPixelArea &src, const PixelArea &dst, int32_t bytes,
                            uint32_t key) {
  switch (bytes) {
  case 1:
    CopyKeyedRows<1, Row1>(src, dst, key);
    break;
  case 2:
    CopyKeyedRows<2, Row2>(src, dst, key);
    break;
  case 3:
    CopyKeyedRows<3, Row3>(src, dst, key);
    break;
  case 4:
    CopyKeyedRows<4, Row4>(src, dst, key);
    break;
  default:
    break;
  }
}

template <auto Row1, auto Row2, auto Row3, auto Row4>
inline void StretchBySize(const ConstPixelArea &src, const PixelArea &dst, int32_t bytes,
                          bool keyed, uint32_t key) {
  switch (bytes) {
  case 1:
    StretchRows<1, Row1>(src, dst, keyed, key);
    break;
  case 2:
    StretchRows<2, Row2>(src, dst, keyed, key);
    break;
  case 3:
    StretchRows<3, Row3>(src, dst, keyed, key);
    break;
  case 4:
    StretchRows<4, Row4>(src, dst, keyed, key);
    break;
  default:
    break;
  }
}

} // namespace
} // namespace soft::kernels

#endif
