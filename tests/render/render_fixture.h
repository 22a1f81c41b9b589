// A 128 x 96 x 32 display over the test double, with helpers to make image
// surfaces of known pixels and to read the blits the drawing issued.
#ifndef VANTREL_TESTS_RENDER_RENDER_FIXTURE_H
#define VANTREL_TESTS_RENDER_RENDER_FIXTURE_H

#include "display/display_mode.h"
#include "display/display_state.h"
#include "module/prog_instance.h"
#include "platform/soft/soft_device.h"
#include "tests/double/test_double.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// Rectangles compared and printed in test messages (found through RECT's own
// namespace).
namespace plat {

inline bool operator==(const RECT &a, const RECT &b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline std::ostream &operator<<(std::ostream &os, const RECT &r) {
  return os << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

} // namespace plat

namespace rt {

constexpr int32_t kScreenW = 128;
constexpr int32_t kScreenH = 96;
constexpr uint32_t kKey = 0xFF00FF; // the transparent colour of every test image
constexpr int64_t kFastFlags = 0x11;
constexpr int64_t kBltFlags = 0x01008000;

// One logged BltFast: where it drew, from which surface, which source.
struct FastBlit {
  int64_t dst;
  int64_t x;
  int64_t y;
  int64_t src;
  plat::RECT srcRect;
  int64_t flags;
};

// One logged Blt.
struct StretchBlit {
  int64_t dst;
  plat::RECT dstRect;
  int64_t src;
  plat::RECT srcRect;
  int64_t flags;
};

inline std::vector<FastBlit> FastBlits() {
  std::vector<FastBlit> blits;
  for (const td::Call &c : td::CallsNamed("BltFast")) {
    const auto &a = c.args;
    blits.push_back(FastBlit{a.at(0),
                             a.at(1),
                             a.at(2),
                             a.at(3),
                             {static_cast<int32_t>(a.at(4)), static_cast<int32_t>(a.at(5)),
                              static_cast<int32_t>(a.at(6)), static_cast<int32_t>(a.at(7))},
                             a.at(8)});
  }
  return blits;
}

inline std::vector<StretchBlit> StretchBlits() {
  std::vector<StretchBlit> blits;
  for (const td::Call &c : td::CallsNamed("Blt")) {
    const auto &a = c.args;
    blits.push_back(StretchBlit{a.at(0),
                                {static_cast<int32_t>(a.at(1)), static_cast<int32_t>(a.at(2)),
                                 static_cast<int32_t>(a.at(3)), static_cast<int32_t>(a.at(4))},
                                a.at(5),
                                {static_cast<int32_t>(a.at(6)), static_cast<int32_t>(a.at(7)),
                                 static_cast<int32_t>(a.at(8)), static_cast<int32_t>(a.at(9))},
                                a.at(10)});
  }
  return blits;
}

inline int64_t Handle(const void *p) { return static_cast<int64_t>(reinterpret_cast<intptr_t>(p)); }

// A colour that tells the source pixel (x, y) apart from every other one
// (for x, y below 256) and is never the key.
inline uint32_t Probe(int32_t x, int32_t y) {
  return 0x010000u | (static_cast<uint32_t>(x) << 8) | static_cast<uint32_t>(y);
}

class RenderTest : public ::testing::Test {
protected:
  void SetUp() override {
    td::Reset();
    ASSERT_EQ(vantrel::InitDisplay(), 1);
    ASSERT_EQ(vantrel::SetMode(kScreenW, kScreenH, 32), 1);
    Fill(vantrel::backBuffer, 0x000000);
    td::ClearLog();
  }
  void TearDown() override {
    images.clear();
    td::Reset();
  }

  // An off-screen surface of the mode's format, painted by `rgb`, keyed on kKey.
  static plat::Surface MakeSurface(int32_t w, int32_t h,
                                   const std::function<uint32_t(int32_t, int32_t)> &rgb) {
    plat::DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = plat::DDSD_CAPS | plat::DDSD_WIDTH | plat::DDSD_HEIGHT;
    desc.dwWidth = static_cast<uint32_t>(w);
    desc.dwHeight = static_cast<uint32_t>(h);
    desc.ddsCaps.dwCaps = plat::DDSCAPS_OFFSCREENPLAIN;
    plat::Surface s = nullptr;
    EXPECT_EQ(soft::CreateSurface(vantrel::device, &desc, &s, nullptr), plat::DD_OK);
    soft::SurfaceView view{};
    EXPECT_TRUE(soft::View(s, &view));
    for (int32_t y = 0; y < h; ++y) {
      for (int32_t x = 0; x < w; ++x) {
        Put(view, x, y, rgb(x, y));
      }
    }
    plat::DDCOLORKEY key{soft::EncodeRgb(view.bpp, kKey), soft::EncodeRgb(view.bpp, kKey)};
    EXPECT_EQ(soft::SetColorKey(s, plat::DDCKEY_SRCBLT, &key), plat::DD_OK);
    return s;
  }

  static void Put(const soft::SurfaceView &view, int32_t x, int32_t y, uint32_t rgb) {
    const uint32_t stored = soft::EncodeRgb(view.bpp, rgb);
    uint8_t *p = view.pixels + y * view.pitch + x * (view.bpp / 8);
    for (int i = 0; i < view.bpp / 8; ++i) {
      p[i] = static_cast<uint8_t>(stored >> (8 * i));
    }
  }

  static void Fill(plat::Surface s, uint32_t rgb) {
    soft::SurfaceView view{};
    ASSERT_TRUE(soft::View(s, &view));
    for (int32_t y = 0; y < view.height; ++y) {
      for (int32_t x = 0; x < view.width; ++x) {
        Put(view, x, y, rgb);
      }
    }
  }

  // An image record that holds `surface`, owned by the test.
  VImg *ImageOf(plat::Surface surface) {
    images.push_back(std::make_unique<VImg>(new VSurf(), "test", IMG_LOAD));
    images.back()->surf->surface = surface;
    return images.back().get();
  }

  // Puts an image holding `surface` at the head of the list: every map's tileset.
  static void UseAsTileset(plat::Surface surface) {
    vantrel::prog.ihead = new VImg(new VSurf(), "tiles", IMG_LOAD);
    vantrel::prog.ihead->surf->surface = surface;
  }

  static uint32_t Back(int32_t x, int32_t y) { return soft::PixelRgb(vantrel::backBuffer, x, y); }

  // Every pixel of the back buffer, to see that a blit drew nothing.
  static std::vector<uint32_t> BackPixels() {
    std::vector<uint32_t> pixels;
    for (int32_t y = 0; y < kScreenH; ++y) {
      for (int32_t x = 0; x < kScreenW; ++x) {
        pixels.push_back(Back(x, y));
      }
    }
    return pixels;
  }

  std::vector<std::unique_ptr<VImg>> images;
};

} // namespace rt

#endif
