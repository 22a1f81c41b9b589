// text_bench.cpp - the module kit's text (VText): what a score costs. Setting
// a string of the same length, and the frame that sets it and draws it with
// the SDK's font through the real render pass onto the soft device, per
// character, with the heap allocations each frame makes.
#include "bench/bench_platform.h"
#include "bench/bench_registry.h"
#include "bench/bench_surfaces.h"
#include "bench/heap_count.h"
#include "bench/reference_scene.h"
#include "images/image_list.h"
#include "module/prog_instance.h"
#include "render/render_frame.h"
#include "vantrel_kit.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace bench {
namespace {

// The SDK's font, loaded by the host into a surface of the mode's depth.
VImg *FontAt(int32_t bpp) {
  static std::map<int32_t, VImg *> fonts;
  VImg *&font = fonts[bpp];
  if (font == nullptr) {
    Install(SceneFor(bpp));
    UseMode(bpp);
    font = vantrel::AddImage(VANTREL_BENCH_FONT, IMG_LOAD);
    if (font == nullptr) {
      std::fprintf(stderr, "vantrel_bench: the font %s could not be loaded\n", VANTREL_BENCH_FONT);
      std::exit(1);
    }
  }
  return font;
}

// `n` printable characters, a new set for each `round`.
std::string Line(int32_t n, int32_t round) {
  std::string s;
  for (int32_t i = 0; i < n; ++i) {
    s += static_cast<char>('!' + (i * 7 + round) % 94);
  }
  return s;
}

void TextSet(benchmark::State &state) {
  const auto n = static_cast<int32_t>(state.range(0));
  VLayer layer;
  VText text(VFont{FontAt(16)});
  text.Place(&layer, 1, 8, 8);
  const std::string lines[2] = {Line(n, 0), Line(n, 1)};
  text.Set(lines[0].c_str());
  const uint64_t before = HeapAllocations();
  int32_t i = 0;
  for (auto _ : state) {
    text.Set(lines[i ^= 1].c_str());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * n);
  state.counters["allocs_per_set"] =
      static_cast<double>(HeapAllocations() - before) / static_cast<double>(state.iterations());
}

// One frame of a module showing text: the string set anew, then the render
// pass over one layer holding only the text (its map hidden).
void TextFrame(benchmark::State &state, int32_t bpp) {
  const auto n = static_cast<int32_t>(state.range(0));
  VImg *font = FontAt(bpp);
  Install(SceneFor(bpp));
  UseMode(bpp);
  UseNullDevice(false);
  VMap hidden;
  hidden.state = HIDDEN;
  VLayer layer;
  layer.map = &hidden;
  VText text(VFont{font});
  // Lines of 64 characters down the screen, as much as fits.
  std::string lines[2];
  for (int32_t round = 0; round < 2; ++round) {
    for (int32_t i = 0; i < n; ++i) {
      lines[round] += i % 65 == 64 ? '\n' : Line(1, i + round)[0];
    }
  }
  text.Place(&layer, 1, 4, 4);
  text.Set(lines[0].c_str());
  VLayer *const saved = vantrel::prog.layers;
  vantrel::prog.layers = &layer;
  vantrel::RenderFrame(); // first touch outside the count
  const uint64_t before = HeapAllocations();
  int32_t i = 0;
  for (auto _ : state) {
    text.Set(lines[i ^= 1].c_str());
    vantrel::RenderFrame();
    benchmark::ClobberMemory();
  }
  const uint64_t allocations = HeapAllocations() - before;
  vantrel::prog.layers = saved;
  text.Remove();
  state.SetItemsProcessed(state.iterations() * n);
  state.counters["allocs_per_frame"] =
      static_cast<double>(allocations) / static_cast<double>(state.iterations());
}

} // namespace

void RegisterTextBenchmarks() {
  benchmark::RegisterBenchmark("text/set", TextSet)->Arg(12)->Arg(200);
  for (int32_t bpp : {16, 32}) {
    const std::string name = "text/frame/" + std::to_string(bpp) + "bpp";
    benchmark::RegisterBenchmark(name.c_str(), TextFrame, bpp)->Arg(12)->Arg(1000);
  }
}

} // namespace bench
