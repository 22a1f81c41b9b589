// pixel_convert.cpp - our own conversion of 0x00RRGGBB rows into the device's
// 16, 24 and 32-bit pixels, for builds without SDL2.
#include "platform/soft/pixel_format.h"

#include <cstring>

namespace soft {
namespace {

uint32_t ReadRgb(const uint8_t *p) {
  uint32_t v = 0;
  std::memcpy(&v, p, sizeof v);
  return v;
}

void Rgb565Row(const uint8_t *src, uint8_t *dst, int32_t width) {
  for (int32_t x = 0; x < width; ++x) {
    const uint32_t v = ReadRgb(src + 4 * x);
    const auto stored =
        static_cast<uint16_t>(((v >> 8) & 0xF800) | ((v >> 5) & 0x07E0) | ((v >> 3) & 0x001F));
    dst[2 * x] = static_cast<uint8_t>(stored);
    dst[2 * x + 1] = static_cast<uint8_t>(stored >> 8);
  }
}

void Bgr24Row(const uint8_t *src, uint8_t *dst, int32_t width) {
  for (int32_t x = 0; x < width; ++x) {
    const uint32_t v = ReadRgb(src + 4 * x);
    dst[3 * x] = static_cast<uint8_t>(v);
    dst[3 * x + 1] = static_cast<uint8_t>(v >> 8);
    dst[3 * x + 2] = static_cast<uint8_t>(v >> 16);
  }
}

} // namespace

bool ConvertFromRgbOwn(const uint32_t *src, int64_t srcPitch, uint8_t *dst, int64_t dstPitch,
                       int32_t bpp, int32_t width, int32_t height) {
  if (bpp != 16 && bpp != 24 && bpp != 32) {
    return false;
  }
  if (width <= 0 || height <= 0) {
    return true;
  }
  const auto *srcBytes = reinterpret_cast<const uint8_t *>(src);
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t *row = srcBytes + y * srcPitch;
    uint8_t *out = dst + y * dstPitch;
    if (bpp == 16) {
      Rgb565Row(row, out, width);
    } else if (bpp == 24) {
      Bgr24Row(row, out, width);
    } else {
      std::memcpy(out, row, 4 * static_cast<size_t>(width));
    }
  }
  return true;
}

} // namespace soft
