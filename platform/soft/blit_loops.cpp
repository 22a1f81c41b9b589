// blit_loops.cpp - the portable pixel loops, one instance per pixel size.
// They are the reference the faster variants are checked against.
#include "platform/soft/blit_loops.h"
#include "platform/soft/scale_walk.h"

#include <cstring>

namespace soft {
namespace {

template <int N> uint32_t Load(const uint8_t *p) {
  uint32_t v = p[0];
  if constexpr (N >= 2) {
    v |= static_cast<uint32_t>(p[1]) << 8;
  }
  if constexpr (N >= 3) {
    v |= static_cast<uint32_t>(p[2]) << 16;
  }
  if constexpr (N >= 4) {
    v |= static_cast<uint32_t>(p[3]) << 24;
  }
  return v;
}

template <int N> void Copy1(const uint8_t *from, uint8_t *to) { std::memcpy(to, from, N); }

void CopyRows(const ConstPixelArea &src, const PixelArea &dst, int32_t bytes) {
  const auto rowBytes = static_cast<size_t>(src.width) * static_cast<size_t>(bytes);
  for (int32_t y = 0; y < src.height; ++y) {
    std::memcpy(dst.pixels + y * dst.pitch, src.pixels + y * src.pitch, rowBytes);
  }
}

template <int N> void CopyKeyedN(const ConstPixelArea &src, const PixelArea &dst, uint32_t key) {
  for (int32_t y = 0; y < src.height; ++y) {
    const uint8_t *from = src.pixels + y * src.pitch;
    uint8_t *to = dst.pixels + y * dst.pitch;
    for (int32_t x = 0; x < src.width; ++x, from += N, to += N) {
      if (Load<N>(from) != key) {
        Copy1<N>(from, to);
      }
    }
  }
}

void CopyKeyed(const ConstPixelArea &src, const PixelArea &dst, int32_t bytes, uint32_t key) {
  switch (bytes) {
  case 1:
    CopyKeyedN<1>(src, dst, key);
    break;
  case 2:
    CopyKeyedN<2>(src, dst, key);
    break;
  case 3:
    CopyKeyedN<3>(src, dst, key);
    break;
  case 4:
    CopyKeyedN<4>(src, dst, key);
    break;
  default:
    break;
  }
}

template <int N, bool Keyed>
void StretchN(const ConstPixelArea &src, const PixelArea &dst, uint32_t key) {
  ScaleWalk rows(src.height, dst.height);
  for (int32_t y = 0; y < dst.height; ++y, rows.Next()) {
    const uint8_t *srcRow = src.pixels + rows.Position() * src.pitch;
    uint8_t *to = dst.pixels + y * dst.pitch;
    ScaleWalk cols(src.width, dst.width);
    for (int32_t x = 0; x < dst.width; ++x, cols.Next(), to += N) {
      const uint8_t *from = srcRow + cols.Position() * N;
      if constexpr (Keyed) {
        if (Load<N>(from) == key) {
          continue;
        }
      }
      Copy1<N>(from, to);
    }
  }
}

template <int N>
void StretchBytes(const ConstPixelArea &src, const PixelArea &dst, bool keyed, uint32_t key) {
  if (keyed) {
    StretchN<N, true>(src, dst, key);
  } else {
    StretchN<N, false>(src, dst, key);
  }
}

void Stretch(const ConstPixelArea &src, const PixelArea &dst, int32_t bytes, bool keyed,
             uint32_t key) {
  if (src.width <= 0 || src.height <= 0 || dst.width <= 0 || dst.height <= 0) {
    return;
  }
  switch (bytes) {
  case 1:
    StretchBytes<1>(src, dst, keyed, key);
    break;
  case 2:
    StretchBytes<2>(src, dst, keyed, key);
    break;
  case 3:
    StretchBytes<3>(src, dst, keyed, key);
    break;
  case 4:
    StretchBytes<4>(src, dst, keyed, key);
    break;
  default:
    break;
  }
}

constexpr BlitLoops kPortable{CopyRows, CopyKeyed, Stretch};

} // namespace

const BlitLoops &PortableBlitLoops() { return kPortable; }

} // namespace soft
