// The device object, display modes, the flipping chain, off-screen surfaces,
// Lock/Unlock and colour keys.
#include "soft_test_util.h"

#include <cstring>

namespace softtest {
namespace {

using soft::SurfaceView;

TEST(SoftDeviceObject, OnlyIDirectDraw4IsOffered) {
  soft::ResetDevice();
  plat::DirectDraw first = nullptr;
  ASSERT_EQ(soft::DirectDrawCreate(nullptr, &first, nullptr), plat::DD_OK);
  ASSERT_NE(first, nullptr);

  plat::GUID other = plat::IID_IDirectDraw4;
  other.Data1 ^= 1;
  plat::DirectDraw4 dd = reinterpret_cast<plat::DirectDraw4>(&other);
  EXPECT_NE(soft::QueryInterface(first, &other, &dd), plat::DD_OK);
  EXPECT_EQ(dd, nullptr);

  ASSERT_EQ(soft::QueryInterface(first, &plat::IID_IDirectDraw4, &dd), plat::DD_OK);
  EXPECT_NE(dd, nullptr);
  // The first face is not the IDirectDraw4 face.
  EXPECT_NE(soft::SetDisplayMode(reinterpret_cast<plat::DirectDraw4>(first), 64, 48, 16, 0, 0),
            plat::DD_OK);
  soft::ResetDevice();
  // After a reset the old object is gone.
  EXPECT_NE(soft::SetDisplayMode(dd, 64, 48, 16, 0, 0), plat::DD_OK);
}

TEST_F(SoftDevice, RefusesModesItCannotShow) {
  struct Bad {
    uint32_t w, h, bpp;
  };
  const Bad bad[] = {{0, 480, 16},           {640, 0, 16},           {0xFFFFFFFFu, 480, 16},
                     {640, 0x80000000u, 16}, {8193, 480, 16},        {640, 8193, 16},
                     {640, 480, 0},          {640, 480, 7},          {640, 480, 15},
                     {640, 480, 64},         {640, 480, 0xFFFFFFF8u}};
  for (const Bad &b : bad) {
    EXPECT_NE(soft::SetDisplayMode(dd, b.w, b.h, b.bpp, 0, 0), plat::DD_OK)
        << b.w << "x" << b.h << "x" << b.bpp;
  }
  EXPECT_EQ(soft::DisplayBpp(), 32);
  plat::Surface back = nullptr;
  EXPECT_EQ(PrimaryChain(dd, &back), nullptr); // still no mode to build a chain for

  EXPECT_EQ(soft::SetDisplayMode(dd, 8192, 8192, 8, 0, 0), plat::DD_OK);
  EXPECT_EQ(soft::SetDisplayMode(dd, 1, 1, 24, 0, 0), plat::DD_OK);
  EXPECT_EQ(soft::DisplayBpp(), 24);
}

TEST_F(SoftDevice, BeforeAnyModeSurfacesAre32Bit) {
  EXPECT_EQ(soft::DisplayBpp(), 32);
  EXPECT_EQ(soft::Primary(), nullptr);
  plat::Surface s = Offscreen(dd, 3, 2);
  SurfaceView v{};
  ASSERT_TRUE(soft::View(s, &v));
  EXPECT_EQ(v.bpp, 32);
  EXPECT_EQ(v.pitch, 12);
}

TEST_F(SoftDevice, PrimaryChainHasTheModesShapeAndOneBackBuffer) {
  Mode(16, 640, 480);
  plat::Surface back = nullptr;
  plat::Surface primary = PrimaryChain(dd, &back);
  ASSERT_NE(primary, nullptr);
  ASSERT_NE(back, nullptr);
  EXPECT_NE(primary, back);
  EXPECT_EQ(soft::Primary(), primary);
  for (plat::Surface s : {primary, back}) {
    SurfaceView v{};
    ASSERT_TRUE(soft::View(s, &v));
    EXPECT_EQ(v.width, 640);
    EXPECT_EQ(v.height, 480);
    EXPECT_EQ(v.bpp, 16);
    EXPECT_EQ(v.pitch, 1280);
  }
  // The back buffer has no further attachment, an off-screen surface none.
  plat::DDSCAPS2 caps{plat::DDSCAPS_BACKBUFFER, 0, 0, 0};
  plat::Surface found = primary;
  EXPECT_EQ(soft::GetAttachedSurface(back, &caps, &found), plat::DDERR_NOTFOUND);
  EXPECT_EQ(found, nullptr);
  EXPECT_EQ(soft::GetAttachedSurface(Offscreen(dd, 4, 4), &caps, &found), plat::DDERR_NOTFOUND);
}

TEST_F(SoftDevice, SecondPrimaryWaitsForTheFirstToBeReleased) {
  Mode(16, 64, 48);
  plat::Surface back = nullptr;
  plat::Surface primary = PrimaryChain(dd, &back);
  ASSERT_NE(primary, nullptr);

  Mode(32, 32, 16);
  plat::DDSURFACEDESC2 desc{};
  desc.dwSize = sizeof desc;
  desc.dwFlags = plat::DDSD_CAPS | plat::DDSD_BACKBUFFERCOUNT;
  desc.dwBackBufferCount = 1;
  desc.ddsCaps.dwCaps = 0x218;
  plat::Surface second = primary;
  EXPECT_EQ(soft::CreateSurface(dd, &desc, &second, nullptr),
            plat::DDERR_PRIMARYSURFACEALREADYEXISTS);
  EXPECT_EQ(second, nullptr);

  // Back buffer first, then the primary: both go, the chain can be rebuilt.
  EXPECT_EQ(soft::ReleaseSurface(back), 0u);
  SurfaceView v{};
  EXPECT_TRUE(soft::View(back, &v)); // the chain still holds it
  EXPECT_EQ(soft::ReleaseSurface(primary), 0u);
  EXPECT_FALSE(soft::View(primary, &v));
  EXPECT_FALSE(soft::View(back, &v));
  EXPECT_EQ(soft::Primary(), nullptr);

  plat::Surface newBack = nullptr;
  plat::Surface again = PrimaryChain(dd, &newBack);
  ASSERT_TRUE(soft::View(again, &v));
  EXPECT_EQ(v.width, 32);
  EXPECT_EQ(v.bpp, 32);
}

TEST_F(SoftDevice, ReleasingThePrimaryReleasesItsBackBuffer) {
  Mode(8);
  plat::Surface back = nullptr;
  plat::Surface primary = PrimaryChain(dd, &back);
  EXPECT_EQ(soft::ReleaseSurface(primary), 0u);
  SurfaceView v{};
  EXPECT_FALSE(soft::View(back, &v));
  EXPECT_EQ(soft::ReleaseSurface(back), 0u); // already gone: nothing happens
  EXPECT_EQ(soft::Primary(), nullptr);
}

TEST_F(SoftDevice, FlipExchangesFrontAndBackWithoutClearing) {
  Mode(16, 8, 4);
  plat::Surface back = nullptr;
  plat::Surface primary = PrimaryChain(dd, &back);
  FillStored(primary, 0x1111);
  FillStored(back, 0x2222);
  Put(back, 7, 3, 0xBEEF);

  ASSERT_EQ(soft::Flip(primary, nullptr, 0), plat::DD_OK);
  EXPECT_EQ(Get(primary, 0, 0), 0x2222u);
  EXPECT_EQ(Get(primary, 7, 3), 0xBEEFu);
  EXPECT_EQ(Get(back, 7, 3), 0x1111u); // the previous frame, not cleared

  ASSERT_EQ(soft::Flip(primary, back, 0), plat::DD_OK);
  EXPECT_EQ(Get(primary, 7, 3), 0x1111u);
  EXPECT_EQ(Get(back, 7, 3), 0xBEEFu);

  // Only the primary flips, and only to its own back buffer.
  EXPECT_NE(soft::Flip(back, nullptr, 0), plat::DD_OK);
  EXPECT_NE(soft::Flip(primary, Offscreen(dd, 8, 4), 0), plat::DD_OK);
  EXPECT_EQ(soft::Restore(primary), plat::DD_OK);
}

TEST_F(SoftDevice, RowsArePaddedToFourBytesAndZeroed) {
  struct Case {
    uint32_t bpp, w;
    int32_t pitch;
  };
  const Case cases[] = {{8, 1, 4},  {16, 1, 4},  {24, 1, 4},  {32, 1, 4}, {8, 5, 8},
                        {16, 3, 8}, {24, 3, 12}, {24, 5, 16}, {32, 3, 12}};
  for (const Case &c : cases) {
    Mode(c.bpp);
    plat::Surface s = Offscreen(dd, c.w, 3);
    SurfaceView v{};
    ASSERT_TRUE(soft::View(s, &v));
    EXPECT_EQ(v.bpp, static_cast<int32_t>(c.bpp));
    EXPECT_EQ(v.pitch, c.pitch) << c.bpp << " bpp, " << c.w << " wide";
    for (int32_t i = 0; i < v.pitch * v.height; ++i) {
      ASSERT_EQ(v.pixels[i], 0);
    }
    // The 32-bit read of the first word stays inside a 1-pixel surface.
    uint32_t word = 0;
    std::memcpy(&word, v.pixels, 4);
    EXPECT_EQ(word, 0u);
  }
}

TEST_F(SoftDevice, RefusesSurfacesItCannotHold) {
  const uint32_t sizes[][2] = {{0, 4},         {4, 0},           {16385, 1},      {1, 16385},
                               {16384, 16384}, {0xFFFFFFFFu, 1}, {1, 0x80000000u}};
  for (const auto &wh : sizes) {
    plat::DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = 7;
    desc.dwWidth = wh[0];
    desc.dwHeight = wh[1];
    desc.ddsCaps.dwCaps = plat::DDSCAPS_OFFSCREENPLAIN;
    plat::Surface s = reinterpret_cast<plat::Surface>(&desc);
    EXPECT_NE(soft::CreateSurface(dd, &desc, &s, nullptr), plat::DD_OK) << wh[0] << "x" << wh[1];
    EXPECT_EQ(s, nullptr);
  }
  plat::DDSURFACEDESC2 huge{};
  huge.dwFlags = 7;
  huge.dwWidth = 16384;
  huge.dwHeight = 16384;
  huge.ddsCaps.dwCaps = plat::DDSCAPS_OFFSCREENPLAIN;
  plat::Surface s = nullptr;
  EXPECT_EQ(soft::CreateSurface(dd, &huge, &s, nullptr), plat::DDERR_OUTOFMEMORY);
  EXPECT_EQ(soft::CreateSurface(dd, nullptr, &s, nullptr), plat::DDERR_INVALIDPARAMS);
  EXPECT_NE(soft::CreateSurface(nullptr, &huge, &s, nullptr), plat::DD_OK);
}

TEST_F(SoftDevice, ReleasingAnOffscreenSurfaceFreesIt) {
  plat::Surface s = Offscreen(dd, 2, 2);
  EXPECT_EQ(soft::ReleaseSurface(s), 0u);
  SurfaceView v{};
  EXPECT_FALSE(soft::View(s, &v));
  plat::DDSURFACEDESC2 desc{};
  EXPECT_NE(soft::Lock(s, nullptr, &desc, 0, nullptr), plat::DD_OK);
  EXPECT_NE(soft::Unlock(s, nullptr), plat::DD_OK);
}

TEST_F(SoftDevice, LockDescribesTheSurfaceInEachDepth) {
  struct Case {
    uint32_t bpp, flags, r, g, b;
  };
  const Case cases[] = {{8, plat::DDPF_PALETTEINDEXED8, 0, 0, 0},
                        {16, plat::DDPF_RGB, 0xF800, 0x07E0, 0x001F},
                        {24, plat::DDPF_RGB, 0xFF0000, 0xFF00, 0xFF},
                        {32, plat::DDPF_RGB, 0xFF0000, 0xFF00, 0xFF}};
  for (const Case &c : cases) {
    Mode(c.bpp);
    plat::Surface s = Offscreen(dd, 5, 3);
    SurfaceView v{};
    ASSERT_TRUE(soft::View(s, &v));
    plat::DDSURFACEDESC2 desc{};
    desc.dwSize = 124;
    ASSERT_EQ(soft::Lock(s, nullptr, &desc, plat::DDLOCK_READONLY, nullptr), plat::DD_OK);
    EXPECT_EQ(desc.dwSize, 124u);
    EXPECT_EQ(desc.lpSurface, v.pixels);
    EXPECT_EQ(desc.lPitch, v.pitch);
    EXPECT_EQ(desc.dwWidth, 5u);
    EXPECT_EQ(desc.dwHeight, 3u);
    EXPECT_EQ(desc.ddpfPixelFormat.dwSize, 32u);
    EXPECT_EQ(desc.ddpfPixelFormat.dwRGBBitCount, c.bpp);
    EXPECT_NE(desc.ddpfPixelFormat.dwFlags & c.flags, 0u);
    EXPECT_EQ(desc.ddpfPixelFormat.dwRBitMask, c.r);
    EXPECT_EQ(desc.ddpfPixelFormat.dwGBitMask, c.g);
    EXPECT_EQ(desc.ddpfPixelFormat.dwBBitMask, c.b);
    EXPECT_EQ(soft::Unlock(s, nullptr), plat::DD_OK);
  }
}

TEST_F(SoftDevice, LockIsExclusiveAndUnlockNeedsALock) {
  plat::Surface s = Offscreen(dd, 4, 4);
  plat::DDSURFACEDESC2 desc{};
  EXPECT_EQ(soft::Unlock(s, nullptr), plat::DDERR_NOTLOCKED);
  ASSERT_EQ(soft::Lock(s, nullptr, &desc, 0, nullptr), plat::DD_OK);
  EXPECT_EQ(soft::Lock(s, nullptr, &desc, 0, nullptr), plat::DDERR_SURFACEBUSY);
  plat::HDC dc = nullptr;
  EXPECT_NE(soft::GetDC(s, &dc), plat::DD_OK);
  EXPECT_EQ(soft::Unlock(s, nullptr), plat::DD_OK);
  EXPECT_EQ(soft::Unlock(s, nullptr), plat::DDERR_NOTLOCKED);

  // A rectangle lock points at the rectangle's first pixel.
  plat::RECT r{1, 2, 3, 4};
  ASSERT_EQ(soft::Lock(s, &r, &desc, 0, nullptr), plat::DD_OK);
  SurfaceView v{};
  ASSERT_TRUE(soft::View(s, &v));
  EXPECT_EQ(desc.lpSurface, v.pixels + 2 * v.pitch + 4);
  EXPECT_EQ(soft::Unlock(s, nullptr), plat::DD_OK);
  plat::RECT outside{2, 2, 5, 3};
  EXPECT_EQ(soft::Lock(s, &outside, &desc, 0, nullptr), plat::DDERR_INVALIDRECT);
  EXPECT_EQ(soft::Unlock(s, nullptr), plat::DDERR_NOTLOCKED);
}

TEST_F(SoftDevice, ColourKeyIsOneValueInTheSurfacesFormat) {
  Mode(16);
  plat::Surface s = Offscreen(dd, 2, 2);
  plat::DDCOLORKEY key{0xABCD1234u, 0xABCD1234u};
  ASSERT_EQ(soft::SetColorKey(s, plat::DDCKEY_SRCBLT, &key), plat::DD_OK);
  SurfaceView v{};
  ASSERT_TRUE(soft::View(s, &v));
  EXPECT_TRUE(v.hasKey);
  EXPECT_EQ(v.key, 0x1234u);

  // Keys are settable while the surface is locked (the upload does so).
  plat::DDSURFACEDESC2 desc{};
  ASSERT_EQ(soft::Lock(s, nullptr, &desc, 0, nullptr), plat::DD_OK);
  key = {0x0042, 0x0042};
  EXPECT_EQ(soft::SetColorKey(s, plat::DDCKEY_SRCBLT, &key), plat::DD_OK);
  EXPECT_EQ(soft::Unlock(s, nullptr), plat::DD_OK);
  ASSERT_TRUE(soft::View(s, &v));
  EXPECT_EQ(v.key, 0x42u);

  ASSERT_EQ(soft::SetColorKey(s, plat::DDCKEY_SRCBLT, nullptr), plat::DD_OK);
  ASSERT_TRUE(soft::View(s, &v));
  EXPECT_FALSE(v.hasKey);
  EXPECT_NE(soft::SetColorKey(s, 0, &key), plat::DD_OK);
}

TEST_F(SoftDevice, UnknownHandlesAreRefused) {
  int local = 0;
  auto *bogus = reinterpret_cast<plat::Surface>(&local);
  plat::DDSURFACEDESC2 desc{};
  plat::DDSCAPS2 caps{plat::DDSCAPS_BACKBUFFER, 0, 0, 0};
  plat::DDCOLORKEY key{1, 1};
  plat::Surface out = bogus;
  plat::HDC dc = nullptr;
  plat::Surface real = Offscreen(dd, 2, 2);
  EXPECT_EQ(soft::ReleaseSurface(bogus), 0u);
  EXPECT_NE(soft::GetAttachedSurface(bogus, &caps, &out), plat::DD_OK);
  EXPECT_NE(soft::Flip(bogus, nullptr, 0), plat::DD_OK);
  EXPECT_NE(soft::Restore(bogus), plat::DD_OK);
  EXPECT_NE(soft::GetDC(bogus, &dc), plat::DD_OK);
  EXPECT_NE(soft::ReleaseDC(bogus, dc), plat::DD_OK);
  EXPECT_NE(soft::Lock(bogus, nullptr, &desc, 0, nullptr), plat::DD_OK);
  EXPECT_NE(soft::Unlock(bogus, nullptr), plat::DD_OK);
  EXPECT_NE(soft::SetColorKey(bogus, plat::DDCKEY_SRCBLT, &key), plat::DD_OK);
  EXPECT_NE(soft::BltFast(real, 0, 0, bogus, nullptr, 0), plat::DD_OK);
  EXPECT_NE(soft::BltFast(bogus, 0, 0, real, nullptr, 0), plat::DD_OK);
  EXPECT_NE(soft::Blt(real, nullptr, bogus, nullptr, 0, nullptr), plat::DD_OK);
  EXPECT_NE(soft::Blt(nullptr, nullptr, real, nullptr, 0, nullptr), plat::DD_OK);
  EXPECT_EQ(soft::PixelRgb(bogus, 0, 0), 0u);
  soft::SurfaceView v{};
  EXPECT_FALSE(soft::View(bogus, &v));
  EXPECT_NE(soft::SetDisplayMode(reinterpret_cast<plat::DirectDraw4>(&local), 64, 48, 16, 0, 0),
            plat::DD_OK);
  EXPECT_NE(soft::CreateSurface(reinterpret_cast<plat::DirectDraw4>(&local), &desc, &out, nullptr),
            plat::DD_OK);
}

TEST_F(SoftDevice, ResetDropsEverything) {
  Mode(16);
  plat::Surface back = nullptr;
  plat::Surface primary = PrimaryChain(dd, &back);
  plat::Surface s = Offscreen(dd, 2, 2);
  plat::HDC dc = nullptr;
  ASSERT_EQ(soft::GetDC(s, &dc), plat::DD_OK);
  soft::ResetDevice();
  soft::SurfaceView v{};
  EXPECT_FALSE(soft::View(primary, &v));
  EXPECT_FALSE(soft::View(s, &v));
  EXPECT_EQ(soft::Primary(), nullptr);
  EXPECT_EQ(soft::DisplayBpp(), 32);
  EXPECT_EQ(soft::DeleteDC(dc), 0);
}

} // namespace
} // namespace softtest
