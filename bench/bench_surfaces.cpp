// bench_surfaces.cpp - making, painting and sharing the benchmark surfaces.
#include "bench/bench_surfaces.h"

#include "display/display_mode.h"
#include "display/display_state.h"
#include "platform/soft/soft_device.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

namespace bench {
namespace {

[[noreturn]] void Fail(const char *what) {
  std::fprintf(stderr, "vantrel_bench: %s\n", what);
  std::exit(1);
}

constexpr uint32_t kKeyRgb = 0xFF00FF;

void Put(const soft::SurfaceView &v, int32_t x, int32_t y, uint32_t value) {
  uint8_t *p = v.pixels + static_cast<int64_t>(y) * v.pitch + static_cast<int64_t>(x) * (v.bpp / 8);
  for (int32_t i = 0; i < v.bpp / 8; ++i) {
    p[i] = static_cast<uint8_t>(value >> (8 * i));
  }
}

#if defined(VANTREL_BENCH_SDL2)
uint32_t SdlFormat(int32_t bpp) {
  switch (bpp) {
  case 8:
    return SDL_PIXELFORMAT_INDEX8;
  case 16:
    return SDL_PIXELFORMAT_RGB565;
  case 24:
    return SDL_PIXELFORMAT_BGR24;
  default:
    return SDL_PIXELFORMAT_RGB888;
  }
}
#endif

} // namespace

void UseMode(int32_t bpp) {
  if (vantrel::device == nullptr && vantrel::InitDisplay() != 1) {
    Fail("the soft device does not open");
  }
  if (vantrel::screenBpp != bpp && vantrel::SetMode(640, 480, bpp) != 1) {
    Fail("the display mode is refused");
  }
}

plat::Surface NewSurface(int32_t w, int32_t h) {
  plat::DDSURFACEDESC2 desc;
  std::memset(&desc, 0, sizeof desc);
  desc.dwSize = 124;
  desc.dwFlags = plat::DDSD_CAPS | plat::DDSD_WIDTH | plat::DDSD_HEIGHT;
  desc.dwWidth = static_cast<uint32_t>(w);
  desc.dwHeight = static_cast<uint32_t>(h);
  desc.ddsCaps.dwCaps = plat::DDSCAPS_OFFSCREENPLAIN;
  plat::Surface s = nullptr;
  if (plat::CreateSurface(vantrel::device, &desc, &s, nullptr) != plat::DD_OK || s == nullptr) {
    Fail("CreateSurface failed");
  }
  return s;
}

uint32_t KeyValue(int32_t bpp) { return soft::EncodeRgb(bpp, kKeyRgb); }

void PaintCells(plat::Surface s, int32_t cell, bool opaque, uint32_t seed) {
  soft::SurfaceView v{};
  if (!soft::View(s, &v)) {
    Fail("not a soft surface");
  }
  const uint32_t key = KeyValue(v.bpp);
  std::mt19937 rnd(seed);
  const double r = cell * 0.46;
  for (int32_t y = 0; y < v.height; ++y) {
    for (int32_t x = 0; x < v.width; ++x) {
      const double dx = x % cell - (cell - 1) / 2.0;
      const double dy = y % cell - (cell - 1) / 2.0;
      uint32_t value = key;
      if (opaque || dx * dx + dy * dy <= r * r) {
        do {
          value = soft::EncodeRgb(v.bpp, static_cast<uint32_t>(rnd()) & 0xFFFFFF);
        } while (value == key);
      }
      Put(v, x, y, value);
    }
  }
  Put(v, 0, 0, key);
  plat::DDCOLORKEY ck{key, key};
  if (plat::SetColorKey(s, plat::DDCKEY_SRCBLT, &ck) != plat::DD_OK) {
    Fail("SetColorKey failed");
  }
}

#if defined(VANTREL_BENCH_SDL2)
SDL_Surface *AsSdl(plat::Surface s) {
  soft::SurfaceView v{};
  if (!soft::View(s, &v)) {
    Fail("not a soft surface");
  }
  SDL_Surface *out = SDL_CreateRGBSurfaceWithFormatFrom(v.pixels, v.width, v.height, v.bpp, v.pitch,
                                                        SdlFormat(v.bpp));
  if (out == nullptr) {
    Fail(SDL_GetError());
  }
  if (v.bpp == 8) {
    SDL_Color colours[256];
    for (int i = 0; i < 256; ++i) {
      const uint32_t rgb = soft::PaletteRgb(static_cast<uint8_t>(i));
      colours[i] = {static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                    static_cast<uint8_t>(rgb), 255};
    }
    SDL_SetPaletteColors(out->format->palette, colours, 0, 256);
  }
  if (v.hasKey) {
    SDL_SetColorKey(out, SDL_TRUE, v.key);
  }
  return out;
}

#endif

} // namespace bench
