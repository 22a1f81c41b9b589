// Presentation of the soft device's front buffer, read back from the
// window's renderer on SDL's dummy video driver: every mode depth shows its
// colours, the mode fills the window, and only a flip shows a new frame.
#include "platform/platform.h"
#include "platform/sdl/backend_state.h"
#include "platform/soft/soft_device.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <vector>

namespace {

plat::LRESULT QuietProc(plat::HWND wnd, uint32_t message, plat::WPARAM wParam,
                        plat::LPARAM lParam) {
  return plat::DefWindowProcA(wnd, message, wParam, lParam);
}

class Presentation : public testing::TestWithParam<int> {
protected:
  void SetUp() override {
    static bool registered = false;
    if (!registered) {
      plat::WNDCLASSA wc{};
      wc.lpfnWndProc = QuietProc;
      wc.lpszClassName = "presentation";
      ASSERT_NE(plat::RegisterClassA(&wc), 0);
      registered = true;
    }
    wnd = plat::CreateWindowExA(0, "presentation", "Release 1 pre1", plat::WS_POPUP, 0, 0,
                                plat::GetSystemMetrics(plat::SM_CXSCREEN),
                                plat::GetSystemMetrics(plat::SM_CYSCREEN), nullptr, nullptr,
                                nullptr, nullptr);
    ASSERT_NE(wnd, nullptr);
    plat::ShowWindow(wnd, 1);
    plat::DirectDraw dd = nullptr;
    ASSERT_EQ(plat::DirectDrawCreate(nullptr, &dd, nullptr), plat::DD_OK);
    ASSERT_EQ(plat::QueryInterface(dd, &plat::IID_IDirectDraw4, &dd4), plat::DD_OK);
    ASSERT_EQ(plat::SetCooperativeLevel(dd4, wnd, 0x11), plat::DD_OK);
  }

  void TearDown() override {
    plat::DefWindowProcA(wnd, plat::WM_CLOSE, 0, 0);
    soft::ResetDevice();
  }

  void SetMode(int bpp) {
    ASSERT_EQ(plat::SetDisplayMode(dd4, 640, 480, static_cast<uint32_t>(bpp), 0, 0), plat::DD_OK);
    plat::DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = plat::DDSD_CAPS | plat::DDSD_BACKBUFFERCOUNT;
    desc.dwBackBufferCount = 1;
    desc.ddsCaps.dwCaps = plat::DDSCAPS_PRIMARYSURFACE | plat::DDSCAPS_FLIP | plat::DDSCAPS_COMPLEX;
    ASSERT_EQ(plat::CreateSurface(dd4, &desc, &primary, nullptr), plat::DD_OK);
    plat::DDSCAPS2 caps{plat::DDSCAPS_BACKBUFFER, 0, 0, 0};
    ASSERT_EQ(plat::GetAttachedSurface(primary, &caps, &back), plat::DD_OK);
  }

  // Fills the back buffer: the left half one colour, the right half another.
  void Paint(int bpp, uint32_t left, uint32_t right) {
    soft::SurfaceView view{};
    ASSERT_TRUE(soft::View(back, &view));
    const uint32_t values[2] = {soft::EncodeRgb(bpp, left), soft::EncodeRgb(bpp, right)};
    const int bytes = bpp / 8;
    for (int y = 0; y < view.height; ++y) {
      for (int x = 0; x < view.width; ++x) {
        const uint32_t v = values[x < view.width / 2 ? 0 : 1];
        uint8_t *p = view.pixels + y * view.pitch + x * bytes;
        for (int b = 0; b < bytes; ++b) {
          p[b] = static_cast<uint8_t>(v >> (8 * b));
        }
      }
    }
  }

  // What the window shows at window pixel x, y, as 0x00RRGGBB.
  uint32_t Shown(int x, int y) {
    SDL_Renderer *r = sdlplat::PresentationRenderer();
    int w = 0;
    int h = 0;
    SDL_GetRendererOutputSize(r, &w, &h);
    std::vector<uint32_t> pixels(static_cast<size_t>(w) * static_cast<size_t>(h));
    SDL_RenderSetLogicalSize(r, 0, 0); // read the whole window
    EXPECT_EQ(SDL_RenderReadPixels(r, nullptr, SDL_PIXELFORMAT_RGB888, pixels.data(), w * 4), 0);
    SDL_RenderSetLogicalSize(r, 640, 480);
    return pixels[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)] &
           0xFFFFFFu;
  }

  plat::HWND wnd = nullptr;
  plat::DirectDraw4 dd4 = nullptr;
  plat::Surface primary = nullptr;
  plat::Surface back = nullptr;
};

TEST_P(Presentation, AFlipShowsTheFrameInEveryDepth) {
  const int bpp = GetParam();
  SetMode(bpp);
  ASSERT_NE(sdlplat::PresentationRenderer(), nullptr);
  // Colours each depth stores exactly; an 8-bit mode shows palette colours.
  uint32_t left = 0xFF0000;
  uint32_t right = 0x0000FF;
  if (bpp == 8) {
    left = soft::PaletteRgb(static_cast<uint8_t>(soft::EncodeRgb(8, left)));
    right = soft::PaletteRgb(static_cast<uint8_t>(soft::EncodeRgb(8, right)));
  }
  Paint(bpp, left, right);
  const int w = plat::GetSystemMetrics(plat::SM_CXSCREEN);
  const int h = plat::GetSystemMetrics(plat::SM_CYSCREEN);
  EXPECT_EQ(Shown(w / 4, h / 2), 0u); // nothing flipped yet: black
  ASSERT_EQ(plat::Flip(primary, nullptr, 0), plat::DD_OK);
  EXPECT_EQ(Shown(w / 4, h / 2), left);
  EXPECT_EQ(Shown(3 * w / 4, h / 2), right);
  // Scaled to the screen: the mode's corners are the window's.
  EXPECT_EQ(Shown(1, 1), left);
  EXPECT_EQ(Shown(w - 2, h - 2), right);
}

INSTANTIATE_TEST_SUITE_P(Depths, Presentation, testing::Values(8, 16, 24, 32));

} // namespace
