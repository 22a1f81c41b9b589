// render_bench.cpp - the host's render pass over the reference scene: through
// the real core onto the soft device, the same draws through SDL2, and the
// core alone with a device that draws nothing. The first also counts the
// heap allocations of each presented frame.
#include "bench/bench_platform.h"
#include "bench/bench_registry.h"
#include "bench/bench_surfaces.h"
#include "bench/heap_count.h"
#include "bench/reference_scene.h"
#include "render/render_frame.h"

#include <benchmark/benchmark.h>

#include <string>

namespace bench {
namespace {

const ReferenceScene &Prepare(int32_t bpp) {
  const ReferenceScene &scene = SceneFor(bpp);
  UseMode(bpp);
  Install(scene);
  return scene;
}

void RenderPassVantrel(benchmark::State &state, int32_t bpp) {
  const ReferenceScene &scene = Prepare(bpp);
  UseNullDevice(false);
  vantrel::RenderFrame(); // first touch outside the count
  const uint64_t before = HeapAllocations();
  for (auto _ : state) {
    vantrel::RenderFrame();
    benchmark::ClobberMemory();
  }
  const uint64_t allocations = HeapAllocations() - before;
  state.SetItemsProcessed(state.iterations() * scene.drawnItems);
  state.counters["drawn_items"] = scene.drawnItems;
  state.counters["allocs_per_frame"] =
      static_cast<double>(allocations) / static_cast<double>(state.iterations());
}

void RenderPassSdl(benchmark::State &state, int32_t bpp) {
  const ReferenceScene &scene = Prepare(bpp);
  for (auto _ : state) {
    DrawWithSdl(scene);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * scene.drawnItems);
  state.counters["drawn_items"] = scene.drawnItems;
}

// The host's own share: the same pass with BltFast, Blt and Flip answering
// at once.
void RenderPassHostOnly(benchmark::State &state, int32_t bpp) {
  const ReferenceScene &scene = Prepare(bpp);
  UseNullDevice(true);
  for (auto _ : state) {
    vantrel::RenderFrame();
    benchmark::ClobberMemory();
  }
  UseNullDevice(false);
  state.SetItemsProcessed(state.iterations() * scene.drawnItems);
  state.counters["drawn_items"] = scene.drawnItems;
}

} // namespace

void RegisterRenderBenchmarks() {
  for (int32_t bpp : {16, 32}) {
    const std::string base = "render_pass/640x480/" + std::to_string(bpp) + "bpp/";
    benchmark::RegisterBenchmark((base + "vantrel").c_str(), RenderPassVantrel, bpp);
    benchmark::RegisterBenchmark((base + "sdl2").c_str(), RenderPassSdl, bpp);
    benchmark::RegisterBenchmark((base + "host_only").c_str(), RenderPassHostOnly, bpp);
  }
}

} // namespace bench
