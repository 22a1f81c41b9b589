// Bitmap objects and device contexts: loading a file, describing it, and the
// BitBlt that turns its colours into a surface's pixel format.
#include "soft_test_util.h"

#include <cstdio>

namespace softtest {
namespace {

constexpr uint32_t kLoad = plat::LR_LOADFROMFILE | plat::LR_CREATEDIBSECTION;

// Four known colours in a 2 x 2 bitmap, top row first.
const std::vector<uint32_t> kColours = {0xFF0000, 0x00FF00, 0x0000FF, 0x808040};

class BitmapCopy : public SoftDevice {
protected:
  void SetUp() override {
    SoftDevice::SetUp();
    path = WriteBitmap24("soft_copy_2x2.bmp", 2, 2, kColours);
  }
  void TearDown() override {
    std::remove(path.c_str());
    SoftDevice::TearDown();
  }

  // Copies the bitmap into a new w x h surface at (x, y) the way the image
  // upload does, and answers the surface.
  plat::Surface Upload(int32_t x, int32_t y, int32_t w, int32_t h, int32_t sx = 0, int32_t sy = 0,
                       uint32_t sw = 2, uint32_t sh = 2) {
    void *bitmap = soft::LoadImageA(nullptr, path.c_str(), plat::IMAGE_BITMAP, 0, 0, kLoad);
    EXPECT_NE(bitmap, nullptr);
    plat::Surface s = Offscreen(dd, sw, sh);
    plat::HDC memory = soft::CreateCompatibleDC(nullptr);
    EXPECT_NE(memory, nullptr);
    EXPECT_NE(soft::SelectObject(memory, bitmap), nullptr);
    plat::HDC target = nullptr;
    EXPECT_EQ(soft::GetDC(s, &target), plat::DD_OK);
    EXPECT_EQ(soft::BitBlt(target, x, y, w, h, memory, sx, sy, plat::SRCCOPY), 1);
    EXPECT_EQ(soft::ReleaseDC(s, target), plat::DD_OK);
    EXPECT_EQ(soft::DeleteDC(memory), 1);
    EXPECT_EQ(soft::DeleteObject(bitmap), 1);
    return s;
  }

  std::string path;
};

TEST_F(BitmapCopy, GetObjectDescribesTheLoadedBitmap) {
  void *bitmap = soft::LoadImageA(nullptr, path.c_str(), plat::IMAGE_BITMAP, 0, 0, kLoad);
  ASSERT_NE(bitmap, nullptr);
  plat::BITMAP info{};
  info.bmType = 99;
  EXPECT_EQ(soft::GetObjectA(bitmap, static_cast<int32_t>(sizeof info), &info),
            static_cast<int32_t>(sizeof info));
  EXPECT_EQ(info.bmType, 0);
  EXPECT_EQ(info.bmWidth, 2);
  EXPECT_EQ(info.bmHeight, 2);
  EXPECT_EQ(info.bmWidthBytes, 8);
  EXPECT_EQ(info.bmPlanes, 1);
  EXPECT_EQ(info.bmBitsPixel, 32);
  EXPECT_NE(info.bmBits, nullptr);

  plat::BITMAP untouched{};
  EXPECT_EQ(soft::GetObjectA(bitmap, 23, &untouched), 0);
  EXPECT_EQ(untouched.bmWidth, 0);
  int local = 0;
  EXPECT_EQ(soft::GetObjectA(&local, static_cast<int32_t>(sizeof info), &info), 0);
  EXPECT_EQ(soft::GetObjectA(nullptr, static_cast<int32_t>(sizeof info), &info), 0);
  EXPECT_EQ(soft::DeleteObject(bitmap), 1);
  EXPECT_EQ(soft::GetObjectA(bitmap, static_cast<int32_t>(sizeof info), &info), 0);
  EXPECT_EQ(soft::DeleteObject(bitmap), 0);
}

TEST_F(BitmapCopy, LoadRefusesWhatItCannotRead) {
  EXPECT_EQ(soft::LoadImageA(nullptr, nullptr, plat::IMAGE_BITMAP, 0, 0, kLoad), nullptr);
  const std::string missing = ::testing::TempDir() + "soft_no_such_file.bmp";
  EXPECT_EQ(soft::LoadImageA(nullptr, missing.c_str(), plat::IMAGE_BITMAP, 0, 0, kLoad), nullptr);
  EXPECT_EQ(soft::LoadImageA(nullptr, path.c_str(), 1, 0, 0, kLoad), nullptr);
  EXPECT_EQ(soft::LoadImageA(nullptr, path.c_str(), plat::IMAGE_BITMAP, 0, 0, 0), nullptr);
  EXPECT_EQ(soft::LoadImageA(nullptr, path.c_str(), plat::IMAGE_BITMAP, 4, 4, kLoad), nullptr);
}

TEST_F(BitmapCopy, ConvertsKnownColoursIntoEachFormat) {
  for (uint32_t bpp : {8u, 16u, 24u, 32u}) {
    Mode(bpp);
    plat::Surface s = Upload(0, 0, 2, 2);
    for (int32_t i = 0; i < 4; ++i) {
      EXPECT_EQ(Get(s, i % 2, i / 2), soft::EncodeRgb(static_cast<int32_t>(bpp), kColours[i]))
          << bpp << " bpp, pixel " << i;
    }
  }
  // The layouts themselves, spelled out.
  Mode(16);
  plat::Surface s16 = Upload(0, 0, 2, 2);
  EXPECT_EQ(Get(s16, 0, 0), 0xF800u);
  EXPECT_EQ(Get(s16, 1, 1), (0x10u << 11) | (0x20u << 5) | 0x08u);
  Mode(24);
  plat::Surface s24 = Upload(0, 0, 2, 2);
  soft::SurfaceView v{};
  ASSERT_TRUE(soft::View(s24, &v));
  EXPECT_EQ(v.pixels[0], 0x00); // blue, green, red
  EXPECT_EQ(v.pixels[1], 0x00);
  EXPECT_EQ(v.pixels[2], 0xFF);
  EXPECT_EQ(v.pixels[v.pitch + 3], 0x40);
  EXPECT_EQ(v.pixels[v.pitch + 5], 0x80);
  Mode(32);
  plat::Surface s32 = Upload(0, 0, 2, 2);
  EXPECT_EQ(Get(s32, 1, 1), 0x00808040u);
  Mode(8);
  plat::Surface s8 = Upload(0, 0, 2, 2);
  EXPECT_EQ(Get(s8, 0, 0), 36u * 5);
  EXPECT_EQ(soft::PixelRgb(s8, 1, 0), 0x00FF00u);
}

TEST_F(BitmapCopy, CopyIsClippedToBothBitmaps) {
  Mode(32);
  // Destination overhanging the surface's top-left: bitmap pixel (1, 1) lands
  // on (0, 0).
  plat::Surface a = Upload(-1, -1, 2, 2);
  EXPECT_EQ(Get(a, 0, 0), 0x808040u);
  EXPECT_EQ(Get(a, 1, 0), 0u);
  // Source overhanging the bitmap's edge: only its last column is copied.
  plat::Surface b = Upload(0, 0, 5, 5, 1, 0, 3, 3);
  EXPECT_EQ(Get(b, 0, 0), 0x00FF00u);
  EXPECT_EQ(Get(b, 0, 1), 0x808040u);
  EXPECT_EQ(Get(b, 1, 0), 0u);
  EXPECT_EQ(Get(b, 0, 2), 0u);
  // Wholly outside: nothing drawn, and no harm.
  plat::Surface c = Upload(INT32_MAX, INT32_MIN, INT32_MAX, INT32_MAX);
  EXPECT_EQ(Bytes(c), std::vector<uint8_t>(16, 0));
  plat::Surface d = Upload(0, 0, -2, -2);
  EXPECT_EQ(Bytes(d), std::vector<uint8_t>(16, 0));
}

TEST_F(BitmapCopy, BitBltWithoutASourceDrawsNothing) {
  Mode(16);
  plat::Surface s = Offscreen(dd, 2, 2);
  plat::HDC target = nullptr;
  ASSERT_EQ(soft::GetDC(s, &target), plat::DD_OK);
  int local = 0;
  EXPECT_EQ(soft::BitBlt(target, 0, 0, 2, 2, nullptr, 0, 0, plat::SRCCOPY), 0);
  EXPECT_EQ(
      soft::BitBlt(target, 0, 0, 2, 2, reinterpret_cast<plat::HDC>(&local), 0, 0, plat::SRCCOPY),
      0);
  // A fresh memory context holds only its stock bitmap: nothing to copy.
  plat::HDC empty = soft::CreateCompatibleDC(nullptr);
  EXPECT_EQ(soft::BitBlt(target, 0, 0, 2, 2, empty, 0, 0, plat::SRCCOPY), 0);
  // A surface's context is not a source.
  EXPECT_EQ(soft::BitBlt(target, 0, 0, 2, 2, target, 0, 0, plat::SRCCOPY), 0);
  EXPECT_EQ(soft::ReleaseDC(s, target), plat::DD_OK);
  EXPECT_EQ(Bytes(s), std::vector<uint8_t>(8, 0));
  EXPECT_EQ(soft::DeleteDC(empty), 1);
}

TEST_F(BitmapCopy, ContextsFollowTheirRules) {
  Mode(16);
  plat::Surface s = Offscreen(dd, 2, 2);
  plat::HDC first = nullptr;
  plat::HDC second = nullptr;
  ASSERT_EQ(soft::GetDC(s, &first), plat::DD_OK);
  EXPECT_NE(soft::GetDC(s, &second), plat::DD_OK);
  EXPECT_EQ(second, nullptr);
  plat::DDSURFACEDESC2 desc{};
  EXPECT_EQ(soft::Lock(s, nullptr, &desc, 0, nullptr), plat::DDERR_SURFACEBUSY);
  EXPECT_EQ(soft::DeleteDC(first), 0); // a surface's context goes back with ReleaseDC
  plat::Surface other = Offscreen(dd, 2, 2);
  EXPECT_NE(soft::ReleaseDC(other, first), plat::DD_OK);
  EXPECT_EQ(soft::ReleaseDC(s, first), plat::DD_OK);
  EXPECT_NE(soft::ReleaseDC(s, first), plat::DD_OK);
  EXPECT_EQ(soft::Lock(s, nullptr, &desc, 0, nullptr), plat::DD_OK);
  EXPECT_EQ(soft::Unlock(s, nullptr), plat::DD_OK);

  // A bitmap is selected into one memory context at a time, and is not
  // deleted while selected.
  void *bitmap = soft::LoadImageA(nullptr, path.c_str(), plat::IMAGE_BITMAP, 0, 0, kLoad);
  plat::HDC a = soft::CreateCompatibleDC(nullptr);
  plat::HDC b = soft::CreateCompatibleDC(a);
  ASSERT_NE(b, nullptr);
  void *stock = soft::SelectObject(a, bitmap);
  EXPECT_NE(stock, nullptr);
  EXPECT_EQ(soft::SelectObject(b, bitmap), nullptr);
  EXPECT_EQ(soft::DeleteObject(bitmap), 0);
  EXPECT_EQ(soft::SelectObject(a, stock), bitmap);
  EXPECT_EQ(soft::DeleteObject(bitmap), 1);
  int local = 0;
  EXPECT_EQ(soft::CreateCompatibleDC(reinterpret_cast<plat::HDC>(&local)), nullptr);
  EXPECT_EQ(soft::SelectObject(reinterpret_cast<plat::HDC>(&local), stock), nullptr);
  EXPECT_EQ(soft::SelectObject(a, &local), nullptr);
  EXPECT_EQ(soft::DeleteDC(reinterpret_cast<plat::HDC>(&local)), 0);
  EXPECT_EQ(soft::DeleteDC(a), 1);
  EXPECT_EQ(soft::DeleteDC(b), 1);
  EXPECT_EQ(soft::DeleteDC(a), 0);
}

TEST_F(BitmapCopy, ReleasingASurfaceWithItsContextOutFreesBoth) {
  plat::Surface s = Offscreen(dd, 2, 2);
  plat::HDC dc = nullptr;
  ASSERT_EQ(soft::GetDC(s, &dc), plat::DD_OK);
  EXPECT_EQ(soft::ReleaseSurface(s), 0u);
  EXPECT_NE(soft::ReleaseDC(s, dc), plat::DD_OK);
  EXPECT_EQ(soft::BitBlt(dc, 0, 0, 1, 1, dc, 0, 0, plat::SRCCOPY), 0);
}

} // namespace
} // namespace softtest
