// The golden comparison: the differing pixels, their box, and the diff image.
#include "replay/golden.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

using replay::RgbImage;

RgbImage Gradient(int32_t w, int32_t h) {
  RgbImage image{w, h, std::vector<uint8_t>(static_cast<size_t>(w * h * 3))};
  for (size_t i = 0; i < image.rgb.size(); ++i) {
    image.rgb[i] = static_cast<uint8_t>(i * 7 + 100);
  }
  return image;
}

void Poke(RgbImage &image, int32_t x, int32_t y, int channel, int delta) {
  uint8_t &v = image.rgb[static_cast<size_t>((y * image.width + x) * 3 + channel)];
  v = static_cast<uint8_t>(v + delta);
}

TEST(GoldenCompare, CountsTheDifferingPixelsAndTheirBox) {
  struct Pixel {
    int32_t x, y, channel, delta;
  };
  struct Case {
    std::vector<Pixel> changed;
    int32_t tolerance;
    int64_t differing;
    int32_t left, top, right, bottom;
  };
  const Case cases[] = {
      {{}, 0, 0, 0, 0, 0, 0},
      {{{5, 3, 0, 1}}, 0, 1, 5, 3, 5, 3},
      {{{5, 3, 0, 1}}, 1, 0, 0, 0, 0, 0}, // within the tolerance
      {{{5, 3, 2, -3}}, 2, 1, 5, 3, 5, 3},
      {{{0, 0, 1, 9}, {19, 9, 0, 9}}, 0, 2, 0, 0, 19, 9}, // the corners
      // The box spans the extremes even when the leftmost is not in the top row.
      {{{10, 2, 0, 50}, {3, 7, 1, 50}, {12, 5, 2, 50}, {11, 7, 0, 1}}, 4, 3, 3, 2, 12, 7},
      // Two channels of one pixel count once.
      {{{4, 4, 0, 20}, {4, 4, 1, 20}}, 0, 1, 4, 4, 4, 4},
  };
  const RgbImage golden = Gradient(20, 10);
  for (const auto &c : cases) {
    RgbImage frame = golden;
    for (const auto &p : c.changed) {
      Poke(frame, p.x, p.y, p.channel, p.delta);
    }
    const replay::Comparison r = replay::CompareFrames(frame, golden, c.tolerance);
    EXPECT_TRUE(r.sameSize);
    EXPECT_EQ(r.differing, c.differing);
    if (c.differing > 0) {
      EXPECT_EQ(r.left, c.left);
      EXPECT_EQ(r.top, c.top);
      EXPECT_EQ(r.right, c.right);
      EXPECT_EQ(r.bottom, c.bottom);
    }
    // The diff image marks exactly the differing pixels and dims the rest.
    const RgbImage diff = replay::DiffImage(frame, golden, c.tolerance);
    int64_t marked = 0;
    for (size_t i = 0; i < diff.rgb.size(); i += 3) {
      const bool magenta = diff.rgb[i] == 255 && diff.rgb[i + 1] == 0 && diff.rgb[i + 2] == 255;
      marked += magenta ? 1 : 0;
      if (!magenta) {
        EXPECT_EQ(diff.rgb[i], frame.rgb[i] / 4);
      }
    }
    EXPECT_EQ(marked, c.differing);
  }
  EXPECT_FALSE(replay::CompareFrames(Gradient(20, 10), Gradient(10, 20), 0).sameSize);
  EXPECT_FALSE(replay::CompareFrames(Gradient(20, 10), RgbImage{}, 255).sameSize);
}

} // namespace
