// Frames as the desktop shows them, and PNG files.
#include "capture/frame_image.h"
#include "platform/soft/pixel_format.h"

#include <SDL.h>
#include <cstdio>
#include <gtest/gtest.h>
#include <vector>

namespace {

using replay::RgbImage;

// Every colour comes out as SDL's conversion, which the desktop's
// presentation uses, makes it: all 16-bit values, and 24- and 32-bit pixels
// with every byte value in every channel.
TEST(FrameImage, ColoursAreTheDesktops) {
  struct Case {
    int32_t bpp;
    uint32_t sdlFormat;
  };
  const Case cases[] = {
      {16, SDL_PIXELFORMAT_RGB565}, {24, SDL_PIXELFORMAT_BGR24}, {32, SDL_PIXELFORMAT_RGB888}};
  for (const auto &c : cases) {
    const int32_t bytes = c.bpp / 8;
    const int32_t w = 256;
    const int32_t h = 256;
    std::vector<uint8_t> pixels(static_cast<size_t>(w * h * bytes));
    for (size_t i = 0; i < pixels.size(); ++i) {
      // 16 bits: every value once; wider: each byte position sweeps 0..255.
      pixels[i] = static_cast<uint8_t>(c.bpp == 16 ? (i & 1 ? i >> 9 : i >> 1) : i * 37 + i / 256);
    }
    std::vector<uint32_t> sdl(static_cast<size_t>(w * h));
    ASSERT_EQ(SDL_ConvertPixels(w, h, c.sdlFormat, pixels.data(), w * bytes, SDL_PIXELFORMAT_RGB888,
                                sdl.data(), w * 4),
              0)
        << SDL_GetError();
    soft::SurfaceView view{w, h, c.bpp, w * bytes, pixels.data(), false, 0};
    RgbImage image;
    ASSERT_TRUE(replay::ViewToRgb(view, &image));
    for (size_t i = 0; i < sdl.size(); ++i) {
      const uint32_t rgb = (uint32_t{image.rgb[i * 3]} << 16) |
                           (uint32_t{image.rgb[i * 3 + 1]} << 8) | image.rgb[i * 3 + 2];
      ASSERT_EQ(rgb, sdl[i] & 0xFFFFFFu) << c.bpp << " bits, pixel " << i;
    }
  }
}

// Each depth: rows are read at the pitch (padding skipped), pixels in the
// desktop's colours.
TEST(FrameImage, EveryDepthReadsRowsAtThePitch) {
  struct Case {
    int32_t bpp;
    int32_t pitch;
    std::vector<uint8_t> bytes; // two rows of two pixels; 0xEE is row padding
    uint32_t rgb[4];
  };
  const Case cases[] = {
      {8,
       4,
       {1, 2, 0xEE, 0xEE, 3, 4, 0xEE, 0xEE},
       {soft::PaletteRgb(1), soft::PaletteRgb(2), soft::PaletteRgb(3), soft::PaletteRgb(4)}},
      {16,
       8,
       {0x00, 0xF8, 0xE0, 0x07, 0xEE, 0xEE, 0xEE, 0xEE, 0x1F, 0x00, 0xFF, 0xFF},
       {0xFF0000, 0x00FE00, 0x0000FF, 0xFFFEFF}}, // SDL's widening
      {24,
       8,
       {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0xEE, 0xEE, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C},
       {0x030201, 0x060504, 0x090807, 0x0C0B0A}},
      {32,
       8,
       {0x01, 0x02, 0x03, 0xFF, 0x04, 0x05, 0x06, 0xFF, 0x07, 0x08, 0x09, 0x00, 0x0A, 0x0B, 0x0C,
        0x00},
       {0x030201, 0x060504, 0x090807, 0x0C0B0A}},
  };
  for (const auto &c : cases) {
    std::vector<uint8_t> bytes = c.bytes;
    bytes.resize(16);
    soft::SurfaceView view{2, 2, c.bpp, c.pitch, bytes.data(), false, 0};
    RgbImage image;
    ASSERT_TRUE(replay::ViewToRgb(view, &image)) << c.bpp;
    ASSERT_EQ(image.rgb.size(), 12u);
    for (int i = 0; i < 4; ++i) {
      const uint32_t rgb = (uint32_t{image.rgb[i * 3]} << 16) |
                           (uint32_t{image.rgb[i * 3 + 1]} << 8) | image.rgb[i * 3 + 2];
      EXPECT_EQ(rgb, c.rgb[i]) << c.bpp << " bits, pixel " << i;
    }
  }
  soft::SurfaceView bad{2, 2, 12, 8, nullptr, false, 0};
  RgbImage image;
  EXPECT_FALSE(replay::ViewToRgb(bad, &image));
}

RgbImage Gradient(int32_t w, int32_t h) {
  RgbImage image{w, h, std::vector<uint8_t>(static_cast<size_t>(w * h * 3))};
  for (size_t i = 0; i < image.rgb.size(); ++i) {
    image.rgb[i] = static_cast<uint8_t>(i * 7 + 100);
  }
  return image;
}

TEST(FrameImage, PngFilesKeepEveryPixel) {
  const std::string path = ::testing::TempDir() + "frame_image_test.png";
  const RgbImage image = Gradient(37, 11); // odd sizes: no row padding in the file
  ASSERT_TRUE(replay::WritePng(path, image));
  RgbImage back;
  std::string why;
  ASSERT_TRUE(replay::ReadPng(path, &back, &why)) << why;
  EXPECT_EQ(back.width, 37);
  EXPECT_EQ(back.height, 11);
  EXPECT_EQ(back.rgb, image.rgb);
  std::remove(path.c_str());

  EXPECT_FALSE(replay::ReadPng(path, &back, &why));
  EXPECT_EQ(why, "missing");
  std::FILE *f = std::fopen(path.c_str(), "wb");
  std::fputs("not a picture", f);
  std::fclose(f);
  EXPECT_FALSE(replay::ReadPng(path, &back, &why));
  EXPECT_NE(why.find("not a PNG"), std::string::npos);
  std::remove(path.c_str());
  EXPECT_FALSE(replay::WritePng(path, RgbImage{2, 2, std::vector<uint8_t>(5)}));
}

} // namespace
