// pixel_format.cpp - encoding, decoding and converting the device's pixels.
//
// The 8-bit palette is fixed: entries 0 to 215 are a 6 x 6 x 6 colour cube
// with the levels 0, 51, 102, 153, 204 and 255 (index = 36 r + 6 g + b), and
// entries 216 to 255 are 40 greys spaced evenly between black and white,
// neither included (grey j has the level round((j + 1) * 255 / 41)). A colour
// maps to the entry with the least squared distance in RGB; on a tie the
// lower index wins.
#include "platform/soft/pixel_format.h"

#include "platform/soft/soft_device.h"

#include <cstring>

namespace soft {
namespace {

constexpr int32_t kCubeLevels = 6;
constexpr int32_t kCubeStep = 51;
constexpr int32_t kCubeEntries = kCubeLevels * kCubeLevels * kCubeLevels;
constexpr int32_t kGreys = 40;

constexpr int32_t GreyLevel(int32_t j) { return ((j + 1) * 255 * 2 + 41) / 82; }

int32_t Red(uint32_t rgb) { return static_cast<int32_t>((rgb >> 16) & 0xFF); }
int32_t Green(uint32_t rgb) { return static_cast<int32_t>((rgb >> 8) & 0xFF); }
int32_t Blue(uint32_t rgb) { return static_cast<int32_t>(rgb & 0xFF); }

int32_t DistanceSquared(uint32_t a, uint32_t b) {
  const int32_t dr = Red(a) - Red(b);
  const int32_t dg = Green(a) - Green(b);
  const int32_t db = Blue(a) - Blue(b);
  return dr * dr + dg * dg + db * db;
}

} // namespace

bool IsDeviceBpp(int64_t bpp) { return bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32; }

uint32_t LoadPixel(const uint8_t *p, int32_t bytes) {
  uint32_t v = 0;
  for (int32_t i = 0; i < bytes; ++i) {
    v |= static_cast<uint32_t>(p[i]) << (8 * i);
  }
  return v;
}

void StorePixel(uint8_t *p, int32_t bytes, uint32_t value) {
  for (int32_t i = 0; i < bytes; ++i) {
    p[i] = static_cast<uint8_t>(value >> (8 * i));
  }
}

uint32_t PaletteRgb(uint8_t index) {
  if (index < kCubeEntries) {
    const uint32_t r = static_cast<uint32_t>(index / 36 * kCubeStep);
    const uint32_t g = static_cast<uint32_t>(index / 6 % 6 * kCubeStep);
    const uint32_t b = static_cast<uint32_t>(index % 6 * kCubeStep);
    return (r << 16) | (g << 8) | b;
  }
  const auto v = static_cast<uint32_t>(GreyLevel(index - kCubeEntries));
  return (v << 16) | (v << 8) | v;
}

uint8_t NearestPaletteIndex(uint32_t rgb) {
  // The cube is separable: its nearest entry takes the nearest level per
  // channel (the levels are 51 apart, so no channel ever ties).
  const int32_t r = (Red(rgb) + kCubeStep / 2) / kCubeStep;
  const int32_t g = (Green(rgb) + kCubeStep / 2) / kCubeStep;
  const int32_t b = (Blue(rgb) + kCubeStep / 2) / kCubeStep;
  int32_t best = r * 36 + g * 6 + b;
  int32_t bestDistance = DistanceSquared(rgb, PaletteRgb(static_cast<uint8_t>(best)));
  // The nearest grey is the one nearest the mean of the three channels; look
  // at the greys around it.
  const int32_t sum = Red(rgb) + Green(rgb) + Blue(rgb);
  const int32_t guess = sum * 41 / (3 * 255) - 1;
  for (int32_t j = guess - 1; j <= guess + 2; ++j) {
    if (j < 0 || j >= kGreys) {
      continue;
    }
    const int32_t index = kCubeEntries + j;
    const int32_t d = DistanceSquared(rgb, PaletteRgb(static_cast<uint8_t>(index)));
    if (d < bestDistance) {
      best = index;
      bestDistance = d;
    }
  }
  return static_cast<uint8_t>(best);
}

uint32_t EncodeRgb(int32_t bpp, uint32_t rgb) {
  switch (bpp) {
  case 8:
    return NearestPaletteIndex(rgb);
  case 16:
    return ((static_cast<uint32_t>(Red(rgb)) >> 3) << 11) |
           ((static_cast<uint32_t>(Green(rgb)) >> 2) << 5) |
           (static_cast<uint32_t>(Blue(rgb)) >> 3);
  case 24:
  case 32:
    return rgb & 0xFFFFFFu;
  default:
    return 0;
  }
}

uint32_t DecodePixel(int32_t bpp, uint32_t value) {
  switch (bpp) {
  case 8:
    return PaletteRgb(static_cast<uint8_t>(value));
  case 16: {
    const uint32_t r5 = (value >> 11) & 0x1F;
    const uint32_t g6 = (value >> 5) & 0x3F;
    const uint32_t b5 = value & 0x1F;
    const uint32_t r = (r5 << 3) | (r5 >> 2);
    const uint32_t g = (g6 << 2) | (g6 >> 4);
    const uint32_t b = (b5 << 3) | (b5 >> 2);
    return (r << 16) | (g << 8) | b;
  }
  case 24:
  case 32:
    return value & 0xFFFFFFu;
  default:
    return 0;
  }
}

plat::DDPIXELFORMAT PixelFormatFor(int32_t bpp) {
  plat::DDPIXELFORMAT pf{};
  pf.dwSize = sizeof(plat::DDPIXELFORMAT);
  pf.dwRGBBitCount = static_cast<uint32_t>(bpp);
  if (bpp == 8) {
    pf.dwFlags = plat::DDPF_RGB | plat::DDPF_PALETTEINDEXED8;
  } else if (bpp == 16) {
    pf.dwFlags = plat::DDPF_RGB;
    pf.dwRBitMask = 0xF800;
    pf.dwGBitMask = 0x07E0;
    pf.dwBBitMask = 0x001F;
  } else {
    pf.dwFlags = plat::DDPF_RGB;
    pf.dwRBitMask = 0xFF0000;
    pf.dwGBitMask = 0x00FF00;
    pf.dwBBitMask = 0x0000FF;
  }
  return pf;
}

int32_t BppOfPixelFormat(const plat::DDPIXELFORMAT &pf) {
  if ((pf.dwFlags & plat::DDPF_RGB) == 0 || !IsDeviceBpp(pf.dwRGBBitCount)) {
    return 0;
  }
  const auto bpp = static_cast<int32_t>(pf.dwRGBBitCount);
  if (bpp == 8) {
    return (pf.dwFlags & plat::DDPF_PALETTEINDEXED8) != 0 ? 8 : 0;
  }
  const plat::DDPIXELFORMAT ours = PixelFormatFor(bpp);
  const bool same = pf.dwRBitMask == ours.dwRBitMask && pf.dwGBitMask == ours.dwGBitMask &&
                    pf.dwBBitMask == ours.dwBBitMask && pf.dwRGBAlphaBitMask == 0;
  return same ? bpp : 0;
}

bool ConvertFromRgb(const uint32_t *src, int64_t srcPitch, uint8_t *dst, int64_t dstPitch,
                    int32_t bpp, int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) {
    return true;
  }
  if (bpp == 8) {
    const auto *srcBytes = reinterpret_cast<const uint8_t *>(src);
    for (int32_t y = 0; y < height; ++y) {
      const auto *row = srcBytes + y * srcPitch;
      uint8_t *out = dst + y * dstPitch;
      for (int32_t x = 0; x < width; ++x) {
        uint32_t rgb = 0;
        std::memcpy(&rgb, row + 4 * static_cast<int64_t>(x), sizeof rgb);
        out[x] = NearestPaletteIndex(rgb);
      }
    }
    return true;
  }
#if VANTREL_SOFT_SDL
  return ConvertFromRgbSdl(src, srcPitch, dst, dstPitch, bpp, width, height);
#else
  return ConvertFromRgbOwn(src, srcPitch, dst, dstPitch, bpp, width, height);
#endif
}

} // namespace soft
