// The fixed 8-bit palette and the stored values of colours in each depth.
#include "soft_test_util.h"

#include <set>

namespace softtest {
namespace {

int32_t Distance(uint32_t a, uint32_t b) {
  int32_t sum = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int32_t d =
        static_cast<int32_t>((a >> shift) & 0xFF) - static_cast<int32_t>((b >> shift) & 0xFF);
    sum += d * d;
  }
  return sum;
}

TEST(SoftPalette, HasBlackWhiteTheCubeAndDistinctGreys) {
  std::set<uint32_t> colours;
  for (int i = 0; i < 256; ++i) {
    const uint32_t rgb = soft::PaletteRgb(static_cast<uint8_t>(i));
    EXPECT_EQ(rgb & 0xFF000000u, 0u);
    colours.insert(rgb);
  }
  EXPECT_EQ(colours.size(), 256u);
  EXPECT_EQ(soft::PaletteRgb(0), 0x000000u);
  EXPECT_EQ(soft::PaletteRgb(215), 0xFFFFFFu);
  EXPECT_EQ(soft::PaletteRgb(36 * 5), 0xFF0000u);
  EXPECT_EQ(soft::PaletteRgb(6 * 5), 0x00FF00u);
  EXPECT_EQ(soft::PaletteRgb(5), 0x0000FFu);
  for (int i = 216; i < 256; ++i) {
    const uint32_t rgb = soft::PaletteRgb(static_cast<uint8_t>(i));
    EXPECT_EQ(rgb, (rgb & 0xFF) * 0x010101u) << i;
  }
}

TEST(SoftPalette, EveryColourMapsToANearestEntry) {
  for (uint32_t r = 0; r < 256; r += 5) {
    for (uint32_t g = 0; g < 256; g += 3) {
      for (uint32_t b = 0; b < 256; b += 7) {
        const uint32_t rgb = (r << 16) | (g << 8) | b;
        int32_t best = INT32_MAX;
        for (int i = 0; i < 256; ++i) {
          best = std::min(best, Distance(rgb, soft::PaletteRgb(static_cast<uint8_t>(i))));
        }
        const auto index = soft::EncodeRgb(8, rgb);
        ASSERT_LT(index, 256u);
        ASSERT_EQ(Distance(rgb, soft::PaletteRgb(static_cast<uint8_t>(index))), best)
            << std::hex << rgb;
      }
    }
  }
  for (int i = 0; i < 256; ++i) {
    const uint32_t rgb = soft::PaletteRgb(static_cast<uint8_t>(i));
    EXPECT_EQ(soft::EncodeRgb(8, rgb), static_cast<uint32_t>(i));
  }
}

TEST(SoftPixelFormat, StoredValuesOfKnownColours) {
  EXPECT_EQ(soft::EncodeRgb(16, 0xFF0000), 0xF800u);
  EXPECT_EQ(soft::EncodeRgb(16, 0x00FF00), 0x07E0u);
  EXPECT_EQ(soft::EncodeRgb(16, 0x0000FF), 0x001Fu);
  EXPECT_EQ(soft::EncodeRgb(16, 0x087F0F), (1u << 11) | (0x1Fu << 5) | 1u);
  EXPECT_EQ(soft::EncodeRgb(24, 0x123456), 0x123456u);
  EXPECT_EQ(soft::EncodeRgb(32, 0xAB123456), 0x123456u);
  EXPECT_EQ(soft::EncodeRgb(12, 0x123456), 0u);
}

TEST_F(SoftDevice, PixelRgbReadsBackEachFormat) {
  struct Case {
    uint32_t bpp, stored, rgb;
  };
  const Case cases[] = {{8, 215, 0xFFFFFF},        {8, 36 * 2 + 6 + 3, 0x663399},
                        {16, 0xF800, 0xFF0000},    {16, 0x07E0, 0x00FF00},
                        {16, 0x0841, 0x080808},    {24, 0x123456, 0x123456},
                        {32, 0xFF123456, 0x123456}};
  for (const Case &c : cases) {
    Mode(c.bpp);
    plat::Surface s = Offscreen(dd, 3, 2);
    Put(s, 2, 1, c.stored);
    EXPECT_EQ(soft::PixelRgb(s, 2, 1), c.rgb) << c.bpp << " " << std::hex << c.stored;
    EXPECT_EQ(soft::PixelRgb(s, 3, 1), 0u);
    EXPECT_EQ(soft::PixelRgb(s, -1, 0), 0u);
  }
}

} // namespace
} // namespace softtest
