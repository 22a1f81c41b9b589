// Frames as 32-bit screen pixels (a page's canvas, a window's bitmap): the
// replay runner's colours at every depth, from every stored value (all of
// them for 8 and 16 bits), whatever the row padding, in either byte order.
#include "capture/frame_image.h"
#include "capture/frame_pixels.h"
#include "platform/soft/pixel_format.h"

#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace {

TEST(FramePixels, SameColoursAsTheReplayRunnerInEitherByteOrder) {
  struct Order {
    replay::PixelBytes order;
    int r, g, b; // where each colour lands in the four bytes
    uint8_t fourth;
  };
  const Order orders[] = {{replay::PixelBytes::Rgba, 0, 1, 2, 255},
                          {replay::PixelBytes::Bgrx, 2, 1, 0, 0}};
  std::mt19937 rnd(5);
  for (const Order &o : orders) {
    for (int32_t bpp : {8, 16, 24, 32}) {
      const int32_t bytes = bpp / 8;
      // Odd widths, so rows are padded; at 16 bits 255 x 258 holds every value.
      const int32_t width = bpp == 16 ? 255 : 61;
      const int32_t height = bpp == 16 ? 258 : 256;
      const int32_t pitch = (width * bytes + 3) & ~3;
      std::vector<uint8_t> pixels(static_cast<size_t>(pitch * height), 0xEE);
      for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
          const uint32_t value = bpp <= 16
                                     ? static_cast<uint32_t>(y * width + x) & ((1u << bpp) - 1)
                                     : static_cast<uint32_t>(rnd());
          soft::StorePixel(pixels.data() + y * pitch + x * bytes, bytes, value);
        }
      }
      const soft::SurfaceView view{width, height, bpp, pitch, pixels.data(), false, 0};
      replay::RgbImage rgb;
      std::vector<uint8_t> out;
      ASSERT_TRUE(replay::ViewToRgb(view, &rgb));
      ASSERT_TRUE(replay::ViewToPixels32(view, o.order, &out)) << bpp;
      ASSERT_EQ(out.size(), rgb.rgb.size() / 3 * 4) << bpp;
      size_t differing = 0;
      for (size_t i = 0, j = 0; j < out.size(); i += 3, j += 4) {
        differing += out[j + o.r] != rgb.rgb[i] || out[j + o.g] != rgb.rgb[i + 1] ||
                     out[j + o.b] != rgb.rgb[i + 2] || out[j + 3] != o.fourth;
      }
      EXPECT_EQ(differing, 0u) << bpp << " bits, order " << static_cast<int>(o.order);
    }
  }
  std::vector<uint8_t> out;
  uint8_t pixel[4] = {};
  const auto rgba = replay::PixelBytes::Rgba;
  EXPECT_FALSE(replay::ViewToPixels32({1, 1, 15, 4, pixel, false, 0}, rgba, &out)); // odd depth
  EXPECT_FALSE(replay::ViewToPixels32({0, 1, 32, 4, pixel, false, 0}, rgba, &out));
  EXPECT_FALSE(replay::ViewToPixels32({1, 1, 32, 4, nullptr, false, 0}, rgba, &out));
}

} // namespace
