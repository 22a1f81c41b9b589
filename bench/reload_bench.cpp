// reload_bench.cpp - how long the host takes to bring the demo's images back
// after the display lost its surfaces: every surface restored and both
// bitmap files (the tileset and the sprite sheet) read and copied in again,
// at each depth the demo can run in. Also the same after a change of depth,
// where each image surface is made anew. Registered last: a loss of the
// display loses every surface of the device, the other figures' too.
#include "bench/bench_registry.h"
#include "bench/bench_surfaces.h"
#include "display/display_state.h"
#include "images/image_list.h"
#include "images/image_reload.h"
#include "module/prog_instance.h"
#include "platform/soft/soft_device.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace bench {
namespace {

// The demo's two bitmaps, added as the demo adds them. The image list and
// its notes are the host's; they are made once per run of the group.
void LoadDemoImages() {
  static bool loaded = false;
  if (loaded) {
    return;
  }
  loaded = true;
  vantrel::prog.ihead = nullptr;
  vantrel::ForgetUploads();
  for (const char *file : {"tiles.bmp", "sprites.bmp"}) {
    const std::string path = std::string(VANTREL_BENCH_DEMO_DIR) + "/" + file;
    if (vantrel::AddImage(path.c_str(), IMG_LOAD) == nullptr) {
      std::fprintf(stderr, "vantrel_bench: the demo's %s could not be loaded\n", path.c_str());
      std::exit(1);
    }
  }
}

void ReloadAfterLoss(benchmark::State &state, int32_t bpp) {
  UseMode(bpp);
  LoadDemoImages();
  soft::LoseExclusiveMode();
  soft::RegainExclusiveMode();
  vantrel::ReloadImages(); // into this depth, outside the timing
  for (auto _ : state) {
    state.PauseTiming();
    soft::LoseExclusiveMode();
    soft::RegainExclusiveMode();
    state.ResumeTiming();
    vantrel::ReloadImages();
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 2);
}

void ReloadAfterNewDepth(benchmark::State &state) {
  int32_t bpp = 16;
  UseMode(bpp);
  LoadDemoImages();
  vantrel::ReloadImages();
  for (auto _ : state) {
    state.PauseTiming();
    bpp = bpp == 16 ? 32 : 16;
    soft::SetDisplayMode(vantrel::device, 640, 480, static_cast<uint32_t>(bpp), 0, 0);
    vantrel::screenBpp = bpp;
    state.ResumeTiming();
    vantrel::ReloadImages();
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 2);
}

} // namespace

void RegisterReloadBenchmarks() {
  for (int32_t bpp : {16, 32}) {
    benchmark::RegisterBenchmark(("reload_demo_images/" + std::to_string(bpp)).c_str(),
                                 ReloadAfterLoss, bpp)
        ->Unit(benchmark::kMicrosecond);
  }
  benchmark::RegisterBenchmark("reload_demo_images/new_depth", ReloadAfterNewDepth)
      ->Unit(benchmark::kMicrosecond);
}

} // namespace bench
