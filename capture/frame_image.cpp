// frame_image.cpp - a presented frame as RGB.
#include "capture/frame_image.h"

#include "platform/soft/pixel_format.h"

#include <array>
#include <cstddef>

namespace replay {
namespace {

// The desktop shows a 16-bit frame through SDL's RGB565 to XRGB8888
// conversion, whose widening of the 5- and 6-bit channels is its own (green
// 63 becomes 254, not 255): these are its values, so a frame file has the
// colours of the screen. The tests hold them against SDL's conversion.
constexpr std::array<uint8_t, 32> kFiveBits{0,   8,   16,  24,  32,  41,  49,  57,  65,  74,  82,
                                            90,  98,  106, 115, 123, 131, 139, 148, 156, 164, 172,
                                            180, 189, 197, 205, 213, 222, 230, 238, 246, 255};
constexpr std::array<uint8_t, 64> kSixBits{
    0,   4,   8,   12,  16,  20,  24,  28,  32,  36,  40,  44,  48,  52,  56,  60,
    64,  68,  72,  76,  80,  84,  88,  92,  97,  101, 105, 109, 113, 117, 121, 125,
    129, 133, 137, 141, 145, 149, 153, 157, 161, 165, 169, 173, 177, 181, 185, 189,
    194, 198, 202, 206, 210, 214, 218, 222, 226, 230, 234, 238, 242, 246, 250, 254};

} // namespace

bool ViewToRgb(const soft::SurfaceView &view, RgbImage *out) {
  if (out == nullptr || view.pixels == nullptr || view.width <= 0 || view.height <= 0 ||
      !soft::IsDeviceBpp(view.bpp)) {
    return false;
  }
  const int32_t bytes = view.bpp / 8;
  out->width = view.width;
  out->height = view.height;
  out->rgb.resize(static_cast<size_t>(view.width) * static_cast<size_t>(view.height) * 3);
  uint8_t *dst = out->rgb.data();
  for (int32_t y = 0; y < view.height; ++y) {
    const uint8_t *src = view.pixels + static_cast<ptrdiff_t>(y) * view.pitch;
    if (view.bpp == 16) {
      for (int32_t x = 0; x < view.width; ++x, src += 2) {
        const uint32_t v = soft::LoadPixel(src, 2);
        *dst++ = kFiveBits[(v >> 11) & 0x1F];
        *dst++ = kSixBits[(v >> 5) & 0x3F];
        *dst++ = kFiveBits[v & 0x1F];
      }
      continue;
    }
    for (int32_t x = 0; x < view.width; ++x, src += bytes) {
      const uint32_t rgb = soft::DecodePixel(view.bpp, soft::LoadPixel(src, bytes));
      *dst++ = static_cast<uint8_t>(rgb >> 16);
      *dst++ = static_cast<uint8_t>(rgb >> 8);
      *dst++ = static_cast<uint8_t>(rgb);
    }
  }
  return true;
}

bool CaptureFrame(RgbImage *out) {
  soft::SurfaceView view{};
  const plat::Surface primary = soft::Primary();
  return primary != nullptr && soft::View(primary, &view) && ViewToRgb(view, out);
}

} // namespace replay
