// present_bench.cpp - the ways a 640x480 frame can reach a full-screen
// 1440x1080 letterbox through SDL2's software path: uploaded in the mode's
// own format and scaled from it, or converted once to XRGB8888 on upload and
// scaled from that. The desktop backend converts 16-bit frames on upload and
// copies 32-bit frames unchanged; these figures say why.
#include "bench/bench_registry.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace bench {
namespace {

SDL_Surface *Frame(uint32_t format, int32_t w, int32_t h) {
  SDL_Surface *s = SDL_CreateRGBSurfaceWithFormat(0, w, h, SDL_BITSPERPIXEL(format), format);
  if (s == nullptr) {
    std::fprintf(stderr, "vantrel_bench: %s\n", SDL_GetError());
    std::exit(1);
  }
  return s;
}

constexpr int32_t kModeW = 640;
constexpr int32_t kModeH = 480;

// Scaling a texture of `format` into the window's XRGB8888 surface.
void ScaleFrom(benchmark::State &state, uint32_t format) {
  static SDL_Surface *window = Frame(SDL_PIXELFORMAT_RGB888, 1920, 1080);
  SDL_Surface *frame = Frame(format, kModeW, kModeH);
  for (auto _ : state) {
    SDL_Rect box{240, 0, 1440, 1080};
    SDL_BlitScaled(frame, nullptr, window, &box);
    benchmark::ClobberMemory();
  }
  SDL_FreeSurface(frame);
  state.SetItemsProcessed(state.iterations() * kModeW * kModeH);
}

// The upload: the soft front buffer into a texture's pixels.
void Upload(benchmark::State &state, uint32_t from, uint32_t to) {
  SDL_Surface *src = Frame(from, kModeW, kModeH);
  SDL_Surface *dst = Frame(to, kModeW, kModeH);
  for (auto _ : state) {
    SDL_ConvertPixels(kModeW, kModeH, from, src->pixels, src->pitch, to, dst->pixels, dst->pitch);
    benchmark::ClobberMemory();
  }
  SDL_FreeSurface(src);
  SDL_FreeSurface(dst);
  state.SetItemsProcessed(state.iterations() * kModeW * kModeH);
}

} // namespace

void RegisterPresentBenchmarks() {
  benchmark::RegisterBenchmark("present/16bpp/upload_as_rgb565", Upload, SDL_PIXELFORMAT_RGB565,
                               SDL_PIXELFORMAT_RGB565);
  benchmark::RegisterBenchmark("present/16bpp/upload_converting_to_xrgb8888", Upload,
                               SDL_PIXELFORMAT_RGB565, SDL_PIXELFORMAT_RGB888);
  benchmark::RegisterBenchmark("present/32bpp/upload_as_xrgb8888", Upload, SDL_PIXELFORMAT_RGB888,
                               SDL_PIXELFORMAT_RGB888);
  benchmark::RegisterBenchmark("present/scale_from_rgb565", ScaleFrom, SDL_PIXELFORMAT_RGB565);
  benchmark::RegisterBenchmark("present/scale_from_xrgb8888", ScaleFrom, SDL_PIXELFORMAT_RGB888);
}

} // namespace bench
