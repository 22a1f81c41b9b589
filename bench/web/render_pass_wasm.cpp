// render_pass_wasm.cpp - the reference scene's render pass, timed in
// WebAssembly: the host's RenderFrame onto the soft device, 640x480 at 16
// and 32 bits, as vantrel_bench's render_pass/640x480/<bpp>bpp/vantrel.
// Prints one JSON object: nanoseconds per pass, the median of five runs of
// at least a second each.
#include "bench/bench_platform.h"
#include "bench/bench_surfaces.h"
#include "bench/reference_scene.h"
#include "platform/soft/blit_loops.h"
#include "render/render_frame.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

double NanosecondsPerPass() {
  using Clock = std::chrono::steady_clock;
  uint64_t passes = 0;
  const auto start = Clock::now();
  auto now = start;
  while (now - start < std::chrono::seconds(1)) {
    for (int i = 0; i < 50; ++i) {
      vantrel::RenderFrame();
    }
    passes += 50;
    now = Clock::now();
  }
  return std::chrono::duration<double, std::nano>(now - start).count() /
         static_cast<double>(passes);
}

} // namespace

int main() {
  std::printf("{");
  const char *separator = "";
  for (int32_t bpp : {16, 32}) {
    const bench::ReferenceScene &scene = bench::SceneFor(bpp);
    bench::UseMode(bpp);
    bench::Install(scene);
    bench::UseNullDevice(false);
    vantrel::RenderFrame();
    std::vector<double> runs;
    for (int r = 0; r < 5; ++r) {
      runs.push_back(NanosecondsPerPass());
    }
    std::sort(runs.begin(), runs.end());
    std::printf("%s\"render_pass/640x480/%dbpp/vantrel\": {\"ns_per_pass\": %.0f, "
                "\"drawn_items\": %d, \"keyed_copy_loops\": \"%s\"}",
                separator, bpp, runs[2], scene.drawnItems,
                soft::ActiveBlitVariant(soft::BlitOp::KeyedCopy, bpp / 8));
    separator = ", ";
  }
  std::printf("}\n");
  return 0;
}
