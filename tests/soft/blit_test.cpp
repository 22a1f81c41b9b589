// BltFast and Blt in every depth: copies, colour keys, stretching, and the
// rectangles and formats a blit refuses without drawing.
#include "platform/soft/pixel_format.h"
#include "soft_test_util.h"

namespace softtest {
namespace {

uint32_t Mask(uint32_t bpp) { return bpp == 32 ? 0xFFFFFFFFu : (1u << bpp) - 1u; }

// A stored value per source pixel, distinct within a small surface.
uint32_t Pattern(uint32_t bpp, int32_t x, int32_t y) {
  const uint32_t base = bpp == 8 ? 3u : 0x5A5A5A01u;
  return (base + static_cast<uint32_t>(x) + 37u * static_cast<uint32_t>(y)) & Mask(bpp);
}

void FillPattern(plat::Surface s, uint32_t bpp) {
  soft::SurfaceView v{};
  ASSERT_TRUE(soft::View(s, &v));
  for (int32_t y = 0; y < v.height; ++y) {
    for (int32_t x = 0; x < v.width; ++x) {
      Put(s, x, y, Pattern(bpp, x, y));
    }
  }
}

class BlitByDepth : public SoftDevice, public ::testing::WithParamInterface<uint32_t> {
protected:
  void SetUp() override {
    SoftDevice::SetUp();
    bpp = GetParam();
    Mode(bpp);
  }
  uint32_t bpp = 0;
  uint32_t background() const { return 0xC3C3C3C3u & Mask(bpp); }
};

TEST_P(BlitByDepth, BltFastCopiesTheSourceRectangleAndNothingElse) {
  plat::Surface dst = Offscreen(dd, 8, 6);
  plat::Surface src = Offscreen(dd, 4, 3);
  FillStored(dst, background());
  FillPattern(src, bpp);
  plat::RECT r{1, 1, 3, 3};
  ASSERT_EQ(soft::BltFast(dst, 2, 1, src, &r, plat::DDBLTFAST_WAIT), plat::DD_OK);
  for (int32_t y = 0; y < 6; ++y) {
    for (int32_t x = 0; x < 8; ++x) {
      const bool inside = x >= 2 && x < 4 && y >= 1 && y < 3;
      const uint32_t want = inside ? Pattern(bpp, x - 1, y) : background();
      ASSERT_EQ(Get(dst, x, y), want) << "at " << x << "," << y;
    }
  }
  // A null source rectangle is the whole source.
  ASSERT_EQ(soft::BltFast(dst, 4, 3, src, nullptr, 0), plat::DD_OK);
  EXPECT_EQ(Get(dst, 4, 3), Pattern(bpp, 0, 0));
  EXPECT_EQ(Get(dst, 7, 5), Pattern(bpp, 3, 2));
}

TEST_P(BlitByDepth, SourceKeySkipsExactlyTheKeyValue) {
  const uint32_t key = Pattern(bpp, 9, 1);
  const uint32_t oneBitOff = key ^ 1u;
  const uint32_t other = Pattern(bpp, 2, 2);
  plat::Surface src = Offscreen(dd, 3, 1);
  Put(src, 0, 0, key);
  Put(src, 1, 0, oneBitOff);
  Put(src, 2, 0, other);
  plat::DDCOLORKEY ck{key, key};
  ASSERT_EQ(soft::SetColorKey(src, plat::DDCKEY_SRCBLT, &ck), plat::DD_OK);

  plat::Surface viaFast = Offscreen(dd, 3, 1);
  plat::Surface viaBlt = Offscreen(dd, 3, 1);
  plat::Surface unkeyed = Offscreen(dd, 3, 1);
  for (plat::Surface d : {viaFast, viaBlt, unkeyed}) {
    FillStored(d, background());
  }
  ASSERT_EQ(soft::BltFast(viaFast, 0, 0, src, nullptr,
                          plat::DDBLTFAST_SRCCOLORKEY | plat::DDBLTFAST_WAIT),
            plat::DD_OK);
  ASSERT_EQ(
      soft::Blt(viaBlt, nullptr, src, nullptr, plat::DDBLT_KEYSRC | plat::DDBLT_WAIT, nullptr),
      plat::DD_OK);
  ASSERT_EQ(soft::BltFast(unkeyed, 0, 0, src, nullptr, plat::DDBLTFAST_WAIT), plat::DD_OK);
  for (plat::Surface d : {viaFast, viaBlt}) {
    EXPECT_EQ(Get(d, 0, 0), background());
    EXPECT_EQ(Get(d, 1, 0), oneBitOff);
    EXPECT_EQ(Get(d, 2, 0), other);
  }
  EXPECT_EQ(Get(unkeyed, 0, 0), key);
}

TEST_P(BlitByDepth, StretchSamplesTheNearestSourcePixel) {
  plat::Surface src = Offscreen(dd, 16, 16);
  FillPattern(src, bpp);
  plat::Surface big = Offscreen(dd, 32, 32);
  ASSERT_EQ(soft::Blt(big, nullptr, src, nullptr, plat::DDBLT_WAIT, nullptr), plat::DD_OK);
  for (int32_t y = 0; y < 32; ++y) {
    for (int32_t x = 0; x < 32; ++x) {
      ASSERT_EQ(Get(big, x, y), Pattern(bpp, x / 2, y / 2)) << x << "," << y;
    }
  }
  // Shrinking 4 to 2 takes the pixel under each destination pixel's centre.
  plat::Surface small = Offscreen(dd, 2, 2);
  plat::RECT four{0, 0, 4, 4};
  ASSERT_EQ(soft::Blt(small, nullptr, src, &four, 0, nullptr), plat::DD_OK);
  EXPECT_EQ(Get(small, 0, 0), Pattern(bpp, 1, 1));
  EXPECT_EQ(Get(small, 1, 1), Pattern(bpp, 3, 3));
  // 3 to 5: columns 0, 0, 1, 2, 2.
  plat::Surface odd = Offscreen(dd, 5, 1);
  plat::RECT three{0, 0, 3, 1};
  ASSERT_EQ(soft::Blt(odd, nullptr, src, &three, 0, nullptr), plat::DD_OK);
  const int32_t cols[] = {0, 0, 1, 2, 2};
  for (int32_t x = 0; x < 5; ++x) {
    EXPECT_EQ(Get(odd, x, 0), Pattern(bpp, cols[x], 0)) << x;
  }
}

TEST_P(BlitByDepth, StretchHonoursTheKey) {
  plat::Surface src = Offscreen(dd, 2, 1);
  const uint32_t key = Pattern(bpp, 5, 0);
  Put(src, 0, 0, key);
  Put(src, 1, 0, Pattern(bpp, 6, 0));
  plat::DDCOLORKEY ck{key, key};
  ASSERT_EQ(soft::SetColorKey(src, plat::DDCKEY_SRCBLT, &ck), plat::DD_OK);
  plat::Surface dst = Offscreen(dd, 4, 2);
  FillStored(dst, background());
  ASSERT_EQ(soft::Blt(dst, nullptr, src, nullptr, plat::DDBLT_KEYSRC | plat::DDBLT_WAIT, nullptr),
            plat::DD_OK);
  for (int32_t y = 0; y < 2; ++y) {
    EXPECT_EQ(Get(dst, 0, y), background());
    EXPECT_EQ(Get(dst, 1, y), background());
    EXPECT_EQ(Get(dst, 2, y), Pattern(bpp, 6, 0));
    EXPECT_EQ(Get(dst, 3, y), Pattern(bpp, 6, 0));
  }
}

TEST_P(BlitByDepth, BadRectanglesAreRefusedAndDrawNothing) {
  plat::Surface dst = Offscreen(dd, 8, 6);
  plat::Surface src = Offscreen(dd, 4, 3);
  FillStored(dst, background());
  FillPattern(src, bpp);
  const std::vector<uint8_t> before = Bytes(dst);

  const plat::RECT badSources[] = {{1, 1, 1, 2},  // empty
                                   {1, 1, 2, 1},  // empty
                                   {3, 0, 1, 2},  // inverted
                                   {0, 2, 2, 1},  // inverted
                                   {-1, 0, 2, 2}, // left of the surface
                                   {0, -1, 2, 2}, // above
                                   {0, 0, 5, 2},  // past the right edge
                                   {0, 0, 2, 4},  // past the bottom
                                   {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}};
  for (plat::RECT r : badSources) {
    EXPECT_EQ(soft::BltFast(dst, 0, 0, src, &r, plat::DDBLTFAST_SRCCOLORKEY | plat::DDBLTFAST_WAIT),
              plat::DDERR_INVALIDRECT)
        << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    plat::RECT d{0, 0, 2, 2};
    EXPECT_EQ(soft::Blt(dst, &d, src, &r, plat::DDBLT_KEYSRC | plat::DDBLT_WAIT, nullptr),
              plat::DDERR_INVALIDRECT);
  }
  // BltFast's destination is the position plus the source size.
  const uint32_t badPositions[][2] = {
      {7, 0}, {0, 5}, {8, 0}, {0xFFFFFFFFu, 0}, {0, 0xFFFFFFFFu}, {0x80000000u, 0x80000000u}};
  for (const auto &p : badPositions) {
    EXPECT_EQ(soft::BltFast(dst, p[0], p[1], src, nullptr, 0), plat::DDERR_INVALIDRECT)
        << p[0] << "," << p[1];
  }
  const plat::RECT badDestinations[] = {{2, 2, 2, 4},
                                        {4, 2, 2, 4},
                                        {-3, 0, 1, 3},
                                        {0, 0, 9, 6},
                                        {0, 0, 8, 7},
                                        {7, 5, 9, 7},
                                        {INT32_MAX - 1, 0, INT32_MAX, 1}};
  for (plat::RECT d : badDestinations) {
    EXPECT_EQ(soft::Blt(dst, &d, src, nullptr, 0, nullptr), plat::DDERR_INVALIDRECT)
        << d.left << "," << d.top << "," << d.right << "," << d.bottom;
  }
  EXPECT_EQ(Bytes(dst), before);

  // A source wholly to the right of the destination's edge: the position of a
  // clipped off-screen tile.
  plat::RECT tile{0, 0, 4, 3};
  EXPECT_EQ(soft::BltFast(dst, 8, 0, src, &tile, 0x11), plat::DDERR_INVALIDRECT);
  EXPECT_EQ(Bytes(dst), before);
}

TEST_P(BlitByDepth, BlitsWithinOneSurfaceReadTheSourceFirst) {
  plat::Surface s = Offscreen(dd, 8, 1);
  FillPattern(s, bpp);
  plat::RECT r{0, 0, 5, 1};
  ASSERT_EQ(soft::BltFast(s, 2, 0, s, &r, 0), plat::DD_OK);
  const int32_t from[] = {0, 1, 0, 1, 2, 3, 4, 7};
  for (int32_t x = 0; x < 8; ++x) {
    EXPECT_EQ(Get(s, x, 0), Pattern(bpp, from[x], 0)) << x;
  }
}

INSTANTIATE_TEST_SUITE_P(Depths, BlitByDepth, ::testing::Values(8u, 16u, 24u, 32u),
                         [](const ::testing::TestParamInfo<uint32_t> &depth) {
                           return std::to_string(depth.param) + "bpp";
                         });

TEST_F(SoftDevice, ClippedStretchSourceFillsTheVisiblePart) {
  // A 16 x 16 sprite drawn at 32 x 32 from x = -8: the first 8 source columns
  // are cut off and the remaining 8 fill 24 destination columns.
  Mode(32);
  plat::Surface src = Offscreen(dd, 16, 16);
  FillPattern(src, 32);
  plat::Surface dst = Offscreen(dd, 40, 40);
  plat::RECT d{0, 0, 24, 32};
  plat::RECT s{8, 0, 16, 16};
  ASSERT_EQ(soft::Blt(dst, &d, src, &s, 0x01008000u, nullptr), plat::DD_OK);
  for (int32_t y = 0; y < 32; ++y) {
    for (int32_t x = 0; x < 24; ++x) {
      ASSERT_EQ(Get(dst, x, y), Pattern(32, 8 + (2 * x + 1) * 8 / 48, y / 2)) << x << "," << y;
    }
    ASSERT_EQ(Get(dst, 24, y), 0u);
  }
  EXPECT_EQ(Get(dst, 0, 32), 0u);
}

TEST_F(SoftDevice, BlitsBetweenPixelFormatsAreRefused) {
  // A surface asked for in another pixel format than the mode's cannot be
  // blitted to or from the mode's surfaces; nothing is drawn.
  Mode(32);
  plat::DDSURFACEDESC2 desc{};
  desc.dwSize = sizeof desc;
  desc.dwFlags = plat::DDSD_CAPS | plat::DDSD_WIDTH | plat::DDSD_HEIGHT | plat::DDSD_PIXELFORMAT;
  desc.dwWidth = 16;
  desc.dwHeight = 16;
  desc.ddsCaps.dwCaps = plat::DDSCAPS_OFFSCREENPLAIN;
  desc.ddpfPixelFormat = soft::PixelFormatFor(16);
  plat::Surface src16 = nullptr;
  ASSERT_EQ(soft::CreateSurface(dd, &desc, &src16, nullptr), plat::DD_OK);
  FillPattern(src16, 16);
  plat::Surface dst32 = Offscreen(dd, 32, 32);
  FillStored(dst32, 0x00123456);
  const std::vector<uint8_t> before = Bytes(dst32);
  EXPECT_EQ(soft::Blt(dst32, nullptr, src16, nullptr, 0x01008000u, nullptr),
            plat::DDERR_INVALIDPIXELFORMAT);
  EXPECT_EQ(soft::BltFast(dst32, 0, 0, src16, nullptr, 0x11), plat::DDERR_INVALIDPIXELFORMAT);
  EXPECT_EQ(Bytes(dst32), before);
}

TEST_F(SoftDevice, BusySurfacesAreNotBlitted) {
  plat::Surface src = Offscreen(dd, 2, 2);
  plat::Surface dst = Offscreen(dd, 2, 2);
  FillStored(src, 0x00ABCDEF);
  plat::DDSURFACEDESC2 desc{};
  ASSERT_EQ(soft::Lock(dst, nullptr, &desc, 0, nullptr), plat::DD_OK);
  EXPECT_EQ(soft::BltFast(dst, 0, 0, src, nullptr, 0), plat::DDERR_SURFACEBUSY);
  EXPECT_EQ(soft::Blt(dst, nullptr, src, nullptr, 0, nullptr), plat::DDERR_SURFACEBUSY);
  ASSERT_EQ(soft::Unlock(dst, nullptr), plat::DD_OK);
  EXPECT_EQ(Get(dst, 1, 1), 0u);
  EXPECT_EQ(soft::BltFast(dst, 0, 0, src, nullptr, 0), plat::DD_OK);
  EXPECT_EQ(Get(dst, 1, 1), 0x00ABCDEFu);
}

} // namespace
} // namespace softtest
