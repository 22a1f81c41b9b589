// frame_pixels.cpp - frames as 32-bit screen pixels, in the colours the
// replay runner writes. 8 and 16-bit pixels go through a table made once from
// the runner's own conversion; 24 and 32-bit pixels are stored RGB already.
#include "capture/frame_pixels.h"

#include "capture/frame_image.h"
#include "platform/soft/pixel_format.h"

#include <cstddef>
#include <cstring>

namespace replay {
namespace {

// The four bytes of one colour in `order`.
uint32_t Pack(uint8_t r, uint8_t g, uint8_t b, PixelBytes order) {
  const uint8_t px[4] = {order == PixelBytes::Rgba ? r : b, g, order == PixelBytes::Rgba ? b : r,
                         static_cast<uint8_t>(order == PixelBytes::Rgba ? 255 : 0)};
  uint32_t packed = 0;
  std::memcpy(&packed, px, 4);
  return packed;
}

// The pixels of every stored value of `bpp` (8 or 16) bits, read from the
// replay runner's conversion of a surface holding each value once.
std::vector<uint32_t> MakeTable(int32_t bpp, PixelBytes order) {
  const int32_t count = 1 << bpp;
  const int32_t bytes = bpp / 8;
  std::vector<uint8_t> pixels(static_cast<size_t>(count * bytes));
  for (int32_t v = 0; v < count; ++v) {
    soft::StorePixel(pixels.data() + static_cast<ptrdiff_t>(v) * bytes, bytes,
                     static_cast<uint32_t>(v));
  }
  soft::SurfaceView row{count, 1, bpp, count * bytes, pixels.data(), false, 0};
  RgbImage rgb;
  std::vector<uint32_t> table(static_cast<size_t>(count), 0);
  if (!ViewToRgb(row, &rgb)) {
    return table;
  }
  for (size_t v = 0; v < table.size(); ++v) {
    table[v] = Pack(rgb.rgb[v * 3], rgb.rgb[v * 3 + 1], rgb.rgb[v * 3 + 2], order);
  }
  return table;
}

const std::vector<uint32_t> &Table(int32_t bpp, PixelBytes order) {
  static const std::vector<uint32_t> tables[2][2] = {
      {MakeTable(8, PixelBytes::Rgba), MakeTable(16, PixelBytes::Rgba)},
      {MakeTable(8, PixelBytes::Bgrx), MakeTable(16, PixelBytes::Bgrx)}};
  return tables[order == PixelBytes::Rgba ? 0 : 1][bpp == 8 ? 0 : 1];
}

} // namespace

bool ViewToPixels32(const soft::SurfaceView &view, PixelBytes order, std::vector<uint8_t> *out) {
  if (out == nullptr || view.pixels == nullptr || view.width <= 0 || view.height <= 0 ||
      !soft::IsDeviceBpp(view.bpp)) {
    return false;
  }
  const size_t w = static_cast<size_t>(view.width);
  out->resize(w * static_cast<size_t>(view.height) * 4);
  const int32_t bytes = view.bpp / 8;
  for (int32_t y = 0; y < view.height; ++y) {
    const uint8_t *src = view.pixels + static_cast<ptrdiff_t>(y) * view.pitch;
    uint8_t *dst = out->data() + static_cast<size_t>(y) * w * 4;
    // One table look-up a pixel, the stored value read in place (little
    // endian): this runs on every frame a window shows.
    if (view.bpp == 8) {
      const uint32_t *table = Table(8, order).data();
      for (size_t x = 0; x < w; ++x, dst += 4) {
        std::memcpy(dst, &table[src[x]], 4);
      }
      continue;
    }
    if (view.bpp == 16) {
      const uint32_t *table = Table(16, order).data();
      for (size_t x = 0; x < w; ++x, src += 2, dst += 4) {
        std::memcpy(dst, &table[src[0] | src[1] << 8], 4);
      }
      continue;
    }
    // 24 and 32 bits: bytes blue, green, red (then one unused).
    for (size_t x = 0; x < w; ++x, src += bytes, dst += 4) {
      const uint32_t packed = Pack(src[2], src[1], src[0], order);
      std::memcpy(dst, &packed, 4);
    }
  }
  return true;
}

} // namespace replay
