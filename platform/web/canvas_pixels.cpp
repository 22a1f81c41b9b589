// canvas_pixels.cpp - frames as canvas pixels, in the colours the replay
// runner writes (those of the desktop), so a page shows what the desktop
// shows and matches the goldens. 8 and 16-bit pixels go through a table made
// once from the runner's own conversion; 24 and 32-bit pixels are stored RGB
// already.
#include "platform/web/canvas_pixels.h"

#include "capture/frame_image.h"
#include "platform/soft/pixel_format.h"

#include <cstddef>
#include <cstring>

namespace web {
namespace {

// Canvas pixels (bytes R, G, B, 255 in memory order) of every stored value
// of `bpp` (8 or 16) bits, read from the replay runner's conversion of a
// surface holding each value once.
std::vector<uint32_t> MakeTable(int32_t bpp) {
  const int32_t count = 1 << bpp;
  const int32_t bytes = bpp / 8;
  std::vector<uint8_t> pixels(static_cast<size_t>(count * bytes));
  for (int32_t v = 0; v < count; ++v) {
    soft::StorePixel(pixels.data() + static_cast<ptrdiff_t>(v) * bytes, bytes,
                     static_cast<uint32_t>(v));
  }
  soft::SurfaceView row{count, 1, bpp, count * bytes, pixels.data(), false, 0};
  replay::RgbImage rgb;
  std::vector<uint32_t> table(static_cast<size_t>(count), 0);
  if (!replay::ViewToRgb(row, &rgb)) {
    return table;
  }
  for (size_t v = 0; v < table.size(); ++v) {
    const uint8_t px[4] = {rgb.rgb[v * 3], rgb.rgb[v * 3 + 1], rgb.rgb[v * 3 + 2], 255};
    std::memcpy(&table[v], px, 4);
  }
  return table;
}

const std::vector<uint32_t> &Table(int32_t bpp) {
  static const std::vector<uint32_t> table8 = MakeTable(8);
  static const std::vector<uint32_t> table16 = MakeTable(16);
  return bpp == 8 ? table8 : table16;
}

} // namespace

bool ViewToRgba(const soft::SurfaceView &view, std::vector<uint8_t> *rgba) {
  if (rgba == nullptr || view.pixels == nullptr || view.width <= 0 || view.height <= 0 ||
      !soft::IsDeviceBpp(view.bpp)) {
    return false;
  }
  const size_t w = static_cast<size_t>(view.width);
  rgba->resize(w * static_cast<size_t>(view.height) * 4);
  const int32_t bytes = view.bpp / 8;
  for (int32_t y = 0; y < view.height; ++y) {
    const uint8_t *src = view.pixels + static_cast<ptrdiff_t>(y) * view.pitch;
    uint8_t *dst = rgba->data() + static_cast<size_t>(y) * w * 4;
    if (view.bpp == 8 || view.bpp == 16) {
      const uint32_t *table = Table(view.bpp).data();
      for (size_t x = 0; x < w; ++x, src += bytes, dst += 4) {
        std::memcpy(dst, &table[soft::LoadPixel(src, bytes)], 4);
      }
      continue;
    }
    // 24 and 32 bits: bytes blue, green, red (then one unused).
    for (size_t x = 0; x < w; ++x, src += bytes, dst += 4) {
      dst[0] = src[2];
      dst[1] = src[1];
      dst[2] = src[0];
      dst[3] = 255;
    }
  }
  return true;
}

} // namespace web
