// blit_bench.cpp - keyed copies and keyed stretches: the soft device's
// BltFast and Blt, the same through SDL2, memcpy of the same rows, and each
// loop variant on its own.
#include "bench/bench_registry.h"
#include "bench/bench_surfaces.h"
#include "platform/soft/blit_loops.h"
#include "platform/soft/soft_device.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstring>
#include <string>

namespace bench {
namespace {

struct Point {
  int32_t x;
  int32_t y;
};

// The surfaces of one depth: a 640x480 screen, and sources of 256x256,
// 32x32 and 16x16 pixels holding a disc on the key colour.
struct BlitSet {
  int32_t bpp = 0;
  plat::Surface screen = nullptr;
  plat::Surface big = nullptr;
  plat::Surface small = nullptr;
  plat::Surface tiny = nullptr;
  SDL_Surface *sdlScreen = nullptr;
  SDL_Surface *sdlBig = nullptr;
  SDL_Surface *sdlSmall = nullptr;
  SDL_Surface *sdlTiny = nullptr;
};

const BlitSet &SetFor(int32_t bpp) {
  static std::array<BlitSet, 4> sets{};
  BlitSet &s = sets[static_cast<size_t>(bpp / 8 - 1) % sets.size()];
  if (s.bpp != bpp) {
    UseMode(bpp);
    s.bpp = bpp;
    s.screen = NewSurface(640, 480);
    PaintCells(s.screen, 40, true, 1);
    s.big = NewSurface(256, 256);
    PaintCells(s.big, 256, false, 2);
    s.small = NewSurface(32, 32);
    PaintCells(s.small, 32, false, 3);
    s.tiny = NewSurface(16, 16);
    PaintCells(s.tiny, 16, false, 4);
    s.sdlScreen = AsSdl(s.screen);
    s.sdlBig = AsSdl(s.big);
    s.sdlSmall = AsSdl(s.small);
    s.sdlTiny = AsSdl(s.tiny);
  }
  return s;
}

// Where the copies land: one place for the large source, a walk over the
// screen for the small one (the same walk for every contender).
constexpr int32_t kPlaces = 64;
Point Place(int32_t size, int32_t i) {
  if (size >= 256) {
    return {192, 112};
  }
  return {(i * 149) % (640 - size), (i * 83) % (480 - size)};
}

plat::Surface SourceOf(const BlitSet &s, int32_t size) { return size >= 256 ? s.big : s.small; }
SDL_Surface *SdlSourceOf(const BlitSet &s, int32_t size) {
  return size >= 256 ? s.sdlBig : s.sdlSmall;
}

void Account(benchmark::State &state, int64_t pixels, int32_t bpp) {
  state.SetItemsProcessed(state.iterations() * pixels);
  state.SetBytesProcessed(state.iterations() * pixels * (bpp / 8));
}

void KeyedCopyVantrel(benchmark::State &state, int32_t bpp, int32_t size) {
  const BlitSet &s = SetFor(bpp);
  plat::Surface src = SourceOf(s, size);
  plat::RECT rect{0, 0, size, size};
  int32_t i = 0;
  for (auto _ : state) {
    const Point p = Place(size, i);
    i = (i + 1) % kPlaces;
    benchmark::DoNotOptimize(soft::BltFast(s.screen, static_cast<uint32_t>(p.x),
                                           static_cast<uint32_t>(p.y), src, &rect,
                                           plat::DDBLTFAST_SRCCOLORKEY | plat::DDBLTFAST_WAIT));
    benchmark::ClobberMemory();
  }
  Account(state, int64_t{size} * size, bpp);
}

void KeyedCopySdl(benchmark::State &state, int32_t bpp, int32_t size) {
  const BlitSet &s = SetFor(bpp);
  SDL_Surface *src = SdlSourceOf(s, size);
  int32_t i = 0;
  for (auto _ : state) {
    const Point p = Place(size, i);
    i = (i + 1) % kPlaces;
    SDL_Rect dst{p.x, p.y, size, size};
    if (SDL_BlitSurface(src, nullptr, s.sdlScreen, &dst) != 0) {
      state.SkipWithError(SDL_GetError());
      break;
    }
    benchmark::ClobberMemory();
  }
  Account(state, int64_t{size} * size, bpp);
}

// The limit: the same rows copied with memcpy, no key.
void RowsMemcpy(benchmark::State &state, int32_t bpp, int32_t size) {
  const BlitSet &s = SetFor(bpp);
  soft::SurfaceView from{};
  soft::SurfaceView to{};
  soft::View(SourceOf(s, size), &from);
  soft::View(s.screen, &to);
  const auto rowBytes = static_cast<size_t>(size) * static_cast<size_t>(bpp / 8);
  int32_t i = 0;
  for (auto _ : state) {
    const Point p = Place(size, i);
    i = (i + 1) % kPlaces;
    uint8_t *dst = to.pixels + static_cast<int64_t>(p.y) * to.pitch + p.x * (bpp / 8);
    for (int32_t y = 0; y < size; ++y) {
      std::memcpy(dst + static_cast<int64_t>(y) * to.pitch,
                  from.pixels + static_cast<int64_t>(y) * from.pitch, rowBytes);
    }
    benchmark::ClobberMemory();
  }
  Account(state, int64_t{size} * size, bpp);
}

// One loop variant without the device around it.
void KeyedCopyLoops(benchmark::State &state, int32_t bpp, int32_t size,
                    const soft::BlitLoops *loops) {
  const BlitSet &s = SetFor(bpp);
  soft::SurfaceView from{};
  soft::SurfaceView to{};
  soft::View(SourceOf(s, size), &from);
  soft::View(s.screen, &to);
  const soft::ConstPixelArea src{from.pixels, from.pitch, size, size};
  int32_t i = 0;
  for (auto _ : state) {
    const Point p = Place(size, i);
    i = (i + 1) % kPlaces;
    const soft::PixelArea dst{to.pixels + static_cast<int64_t>(p.y) * to.pitch + p.x * (bpp / 8),
                              to.pitch, size, size};
    loops->copyKeyed(src, dst, bpp / 8, from.key);
    benchmark::ClobberMemory();
  }
  Account(state, int64_t{size} * size, bpp);
}

struct StretchCase {
  int32_t srcSize;
  int32_t dstW;
  int32_t dstH;
};

void KeyedStretchVantrel(benchmark::State &state, int32_t bpp, StretchCase c) {
  const BlitSet &s = SetFor(bpp);
  plat::Surface src = c.srcSize >= 256 ? s.big : s.tiny;
  plat::RECT from{0, 0, c.srcSize, c.srcSize};
  int32_t i = 0;
  for (auto _ : state) {
    const Point p = Place(c.dstW >= 256 ? 256 : 32, i);
    i = (i + 1) % kPlaces;
    plat::RECT to{p.x, p.y, p.x + c.dstW, p.y + c.dstH};
    benchmark::DoNotOptimize(
        soft::Blt(s.screen, &to, src, &from, plat::DDBLT_KEYSRC | plat::DDBLT_WAIT, nullptr));
    benchmark::ClobberMemory();
  }
  Account(state, int64_t{c.dstW} * c.dstH, bpp);
}

void KeyedStretchSdl(benchmark::State &state, int32_t bpp, StretchCase c) {
  const BlitSet &s = SetFor(bpp);
  SDL_Surface *src = c.srcSize >= 256 ? s.sdlBig : s.sdlTiny;
  int32_t i = 0;
  for (auto _ : state) {
    const Point p = Place(c.dstW >= 256 ? 256 : 32, i);
    i = (i + 1) % kPlaces;
    SDL_Rect from{0, 0, c.srcSize, c.srcSize};
    SDL_Rect to{p.x, p.y, c.dstW, c.dstH};
    if (SDL_BlitScaled(src, &from, s.sdlScreen, &to) != 0) {
      state.SkipWithError(SDL_GetError());
      break;
    }
    benchmark::ClobberMemory();
  }
  Account(state, int64_t{c.dstW} * c.dstH, bpp);
}

// One loop variant's stretch without the device around it.
void KeyedStretchLoops(benchmark::State &state, int32_t bpp, StretchCase c,
                       const soft::BlitLoops *loops) {
  const BlitSet &s = SetFor(bpp);
  soft::SurfaceView from{};
  soft::SurfaceView to{};
  soft::View(c.srcSize >= 256 ? s.big : s.tiny, &from);
  soft::View(s.screen, &to);
  const soft::ConstPixelArea src{from.pixels, from.pitch, c.srcSize, c.srcSize};
  int32_t i = 0;
  for (auto _ : state) {
    const Point p = Place(c.dstW >= 256 ? 256 : 32, i);
    i = (i + 1) % kPlaces;
    const soft::PixelArea dst{to.pixels + static_cast<int64_t>(p.y) * to.pitch + p.x * (bpp / 8),
                              to.pitch, c.dstW, c.dstH};
    loops->stretch(src, dst, bpp / 8, true, from.key);
    benchmark::ClobberMemory();
  }
  Account(state, int64_t{c.dstW} * c.dstH, bpp);
}

std::string Depth(int32_t bpp) { return std::to_string(bpp) + "bpp"; }

} // namespace

void RegisterBlitBenchmarks() {
  int32_t variantCount = 0;
  const soft::BlitLoopVariant *variants = soft::BlitLoopVariants(&variantCount);
  for (int32_t size : {256, 32}) {
    const std::string shape = std::to_string(size) + "x" + std::to_string(size);
    for (int32_t bpp : {8, 16, 24, 32}) {
      const std::string base = "keyed_copy/" + shape + "/" + Depth(bpp) + "/";
      benchmark::RegisterBenchmark((base + "vantrel").c_str(), KeyedCopyVantrel, bpp, size);
      benchmark::RegisterBenchmark((base + "sdl2").c_str(), KeyedCopySdl, bpp, size);
      benchmark::RegisterBenchmark((base + "memcpy").c_str(), RowsMemcpy, bpp, size);
      for (int32_t v = 0; v < variantCount; ++v) {
        if (variants[v].runs) {
          benchmark::RegisterBenchmark((base + "loops_" + variants[v].name).c_str(), KeyedCopyLoops,
                                       bpp, size, variants[v].loops);
        }
      }
    }
  }
  for (StretchCase c : {StretchCase{256, 320, 240}, StretchCase{16, 32, 32}}) {
    const std::string shape = std::to_string(c.srcSize) + "x" + std::to_string(c.srcSize) + "_to_" +
                              std::to_string(c.dstW) + "x" + std::to_string(c.dstH);
    for (int32_t bpp : {8, 16, 24, 32}) {
      const std::string base = "keyed_stretch/" + shape + "/" + Depth(bpp) + "/";
      benchmark::RegisterBenchmark((base + "vantrel").c_str(), KeyedStretchVantrel, bpp, c);
      benchmark::RegisterBenchmark((base + "sdl2").c_str(), KeyedStretchSdl, bpp, c);
      for (int32_t v = 0; v < variantCount; ++v) {
        if (variants[v].runs) {
          benchmark::RegisterBenchmark((base + "loops_" + variants[v].name).c_str(),
                                       KeyedStretchLoops, bpp, c, variants[v].loops);
        }
      }
    }
  }
}

} // namespace bench
