// The colour key by display depth: the top-left pixel as the surface stores
// it, and what a keyed blit then leaves out.
#include "image_fixture.h"

#include "display/display_state.h"
#include "images/colour_key.h"
#include "images/image_list.h"

#include <cstring>

namespace {

class ColourKeyTest : public ImageTest {
protected:
  // Loads a one-row bitmap of `colours` as the head image of a new mode.
  plat::Surface Load(int32_t bpp, const std::vector<uint32_t> &colours) {
    OpenDisplay(bpp);
    bmp::Image image;
    image.width = static_cast<int32_t>(colours.size());
    image.height = 1;
    image.pixels = colours;
    VImg *added = vantrel::AddImage(Write("row.bmp", image).c_str(), IMG_LOAD);
    EXPECT_NE(added, nullptr);
    return SurfaceOf(added);
  }

  // The first four bytes of the surface's top row, little-endian.
  static uint32_t FirstWord(plat::Surface surface) {
    const soft::SurfaceView view = View(surface);
    return uint32_t{view.pixels[0]} | uint32_t{view.pixels[1]} << 8 |
           uint32_t{view.pixels[2]} << 16 | uint32_t{view.pixels[3]} << 24;
  }

  // Paints the whole back buffer in one colour.
  static void Paint(uint32_t rgb) {
    const soft::SurfaceView back = View(vantrel::backBuffer);
    const uint32_t stored = soft::EncodeRgb(back.bpp, rgb);
    const int bytes = back.bpp / 8;
    for (int32_t y = 0; y < back.height; ++y) {
      for (int32_t x = 0; x < back.width; ++x) {
        uint8_t *p = back.pixels + y * back.pitch + x * bytes;
        for (int i = 0; i < bytes; ++i) {
          p[i] = static_cast<uint8_t>(stored >> (8 * i));
        }
      }
    }
  }

  // Paints the back buffer, blits the image's row at the top-left corner
  // with the source key, and answers the resulting row.
  static std::vector<uint32_t> DrawOver(plat::Surface image, uint32_t backgroundRgb) {
    Paint(backgroundRgb);
    const soft::SurfaceView source = View(image);
    plat::RECT all = {0, 0, source.width, 1};
    EXPECT_EQ(plat::BltFast(vantrel::backBuffer, 0, 0, image, &all,
                            plat::DDBLTFAST_SRCCOLORKEY | plat::DDBLTFAST_WAIT),
              plat::DD_OK);
    std::vector<uint32_t> row;
    for (int32_t x = 0; x < source.width; ++x) {
      row.push_back(soft::PixelRgb(vantrel::backBuffer, x, 0));
    }
    return row;
  }
};

TEST_F(ColourKeyTest, SixteenBitsKeyOnTheStoredValue) {
  const uint32_t c = 0xFF8040;
  const uint32_t sameWhenStored = 0xFF8143; // differs only in bits RGB565 drops
  const uint32_t oneBitOff = 0xFF8048;      // lowest stored blue bit set
  const uint32_t green = 0x00FF00;
  plat::Surface surface = Load(16, {c, sameWhenStored, oneBitOff, green});
  ASSERT_NE(surface, nullptr);
  const soft::SurfaceView view = View(surface);
  ASSERT_EQ(view.bpp, 16);
  EXPECT_TRUE(view.hasKey);
  EXPECT_EQ(view.key, soft::EncodeRgb(16, c));
  EXPECT_EQ(view.key, FirstWord(surface) & 0xFFFFu);
  EXPECT_EQ(soft::EncodeRgb(16, oneBitOff) ^ view.key, 1u);

  const uint32_t blue = 0x0000FF;
  const std::vector<uint32_t> row = DrawOver(surface, blue);
  EXPECT_EQ(row[0], blue);
  EXPECT_EQ(row[1], blue);
  EXPECT_EQ(row[2], soft::PixelRgb(surface, 2, 0));
  EXPECT_NE(row[2], blue);
  EXPECT_EQ(row[3], green);
}

TEST_F(ColourKeyTest, ThirtyTwoBitsKeyOnTheWholeWord) {
  const uint32_t c = 0xA1B2C3;
  plat::Surface surface = Load(32, {c, 0x010203});
  ASSERT_NE(surface, nullptr);
  const soft::SurfaceView view = View(surface);
  ASSERT_EQ(view.bpp, 32);
  EXPECT_EQ(view.key, FirstWord(surface));
  EXPECT_EQ(view.key & 0xFFFFFFu, c);
  const std::vector<uint32_t> row = DrawOver(surface, 0x000000);
  EXPECT_EQ(row[0], 0x000000u);
  EXPECT_EQ(row[1], 0x010203u);
}

TEST_F(ColourKeyTest, TwentyFourBitsKeyOnThreeBytes) {
  // The first word's top byte is the blue of the second pixel.
  const uint32_t c = 0x102030;
  plat::Surface surface = Load(24, {c, 0xABCDEF});
  ASSERT_NE(surface, nullptr);
  const soft::SurfaceView view = View(surface);
  ASSERT_EQ(view.bpp, 24);
  ASSERT_NE(FirstWord(surface) >> 24, 0u);
  EXPECT_EQ(view.key, FirstWord(surface) & 0xFFFFFFu);
  EXPECT_EQ(view.key, soft::EncodeRgb(24, c));
  const std::vector<uint32_t> row = DrawOver(surface, 0xFFFFFF);
  EXPECT_EQ(row[0], 0xFFFFFFu);
  EXPECT_EQ(row[1], 0xABCDEFu);
}

TEST_F(ColourKeyTest, EightBitsKeyOnThePaletteIndex) {
  const uint32_t c = soft::PaletteRgb(37);
  const uint32_t other = soft::PaletteRgb(200);
  ASSERT_NE(soft::EncodeRgb(8, c), soft::EncodeRgb(8, other));
  plat::Surface surface = Load(8, {c, other, other, c});
  ASSERT_NE(surface, nullptr);
  const soft::SurfaceView view = View(surface);
  ASSERT_EQ(view.bpp, 8);
  EXPECT_EQ(view.key, uint32_t{view.pixels[0]});
  EXPECT_EQ(view.key, soft::EncodeRgb(8, c));
  const uint32_t background = soft::PaletteRgb(5);
  const std::vector<uint32_t> row = DrawOver(surface, background);
  EXPECT_EQ(row[0], background);
  EXPECT_EQ(row[1], soft::PaletteRgb(view.pixels[1]));
  EXPECT_EQ(row[2], soft::PaletteRgb(view.pixels[2]));
  EXPECT_EQ(row[3], background);
}

TEST_F(ColourKeyTest, AOnePixelImageIsWhollyTransparent) {
  for (int32_t bpp : {8, 16, 24, 32}) {
    SCOPED_TRACE(bpp);
    td::Reset();
    plat::Surface surface = Load(bpp, {0xC0FFEE});
    ASSERT_NE(surface, nullptr);
    Paint(0x000000);
    const uint32_t background = soft::PixelRgb(vantrel::backBuffer, 0, 0);
    EXPECT_EQ(DrawOver(surface, 0x000000), std::vector<uint32_t>{background});
    // Stretched over the screen, it still draws nothing.
    plat::RECT src = {0, 0, 1, 1};
    plat::RECT dst = {0, 0, 64, 48};
    plat::Blt(vantrel::backBuffer, &dst, surface, &src, plat::DDBLT_KEYSRC | plat::DDBLT_WAIT,
              nullptr);
    for (int32_t y = 0; y < 48; y += 7) {
      for (int32_t x = 0; x < 64; x += 9) {
        ASSERT_EQ(soft::PixelRgb(vantrel::backBuffer, x, y), background);
      }
    }
  }
}

TEST(ColourKeyWord, KeepsTheLowBitsOfTheFirstWord) {
  const uint8_t row[4] = {0x11, 0x22, 0x33, 0xF4};
  EXPECT_EQ(vantrel::ColourKeyFromFirstWord(row, 8), 0x11u);
  EXPECT_EQ(vantrel::ColourKeyFromFirstWord(row, 16), 0x2211u);
  EXPECT_EQ(vantrel::ColourKeyFromFirstWord(row, 24), 0x332211u);
  EXPECT_EQ(vantrel::ColourKeyFromFirstWord(row, 32), 0xF4332211u); // top byte included
  EXPECT_EQ(vantrel::ColourKeyFromFirstWord(row, 0), 0u);
  EXPECT_EQ(vantrel::ColourKeyFromFirstWord(row, 64), 0xF4332211u);
}

} // namespace
