// frame_image.cpp - a presented frame as RGB.
#include "replay/frame_image.h"

#include "platform/soft/pixel_format.h"

#include <cstddef>

namespace replay {

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
