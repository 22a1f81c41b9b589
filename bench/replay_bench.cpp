// replay_bench.cpp - vantrel-replay's figures: the demo's regression script
// replayed without writing frames (frames per second of the whole host: the
// module, the render pass, the flips) with the peak memory of the process,
// and the cost of one 640x480 PNG.
#include "capture/frame_image.h"
#include "capture/script.h"
#include "replay/replay_run.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace {

std::string Slurp(const char *path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void replay_demo_script(benchmark::State &state) {
  std::vector<replay::ScriptCall> calls;
  replay::ScriptError error;
  if (!replay::ParseScript(Slurp(VANTREL_DEMO_SCRIPT), &calls, &error)) {
    state.SkipWithError(("the demo script: " + error.message).c_str());
    return;
  }
  replay::ReplayOptions options;
  options.module = VANTREL_DEMO_MODULE;
  // The host's boxes ("DESTROY!" at the end of each run) go to standard error.
  std::FILE *quiet = std::freopen("/dev/null", "w", stderr);
  (void)quiet;
  // The module stays loaded between runs and keeps its own statics (the
  // demo's frame pacer), so a run may present a frame more than the first.
  uint64_t frames = 0;
  for (auto _ : state) {
    const replay::ReplaySummary summary = replay::RunReplay(options, calls, false);
    if (summary.exitCode != replay::kAllMatch) {
      state.SkipWithError("the replay failed");
      return;
    }
    frames += summary.framesPresented;
  }
  state.counters["frames_per_second"] =
      benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
  state.counters["frames_per_run"] =
      static_cast<double>(frames) / static_cast<double>(state.iterations());
  // The whole process's peak, this program's own memory included: an upper
  // bound for vantrel-replay itself.
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_rss_kib"] = static_cast<double>(usage.ru_maxrss);
}
BENCHMARK(replay_demo_script)->Unit(benchmark::kMillisecond)->UseRealTime();

void write_png_640x480(benchmark::State &state) {
  replay::RgbImage frame;
  std::string why;
  if (!replay::ReadPng(VANTREL_DEMO_GOLDEN, &frame, &why)) {
    state.SkipWithError(why.c_str());
    return;
  }
  const std::string path = std::string(P_tmpdir) + "/vantrel_bench_frame.png";
  for (auto _ : state) {
    if (!replay::WritePng(path, frame)) {
      state.SkipWithError("cannot write the PNG");
      return;
    }
  }
  std::remove(path.c_str());
}
BENCHMARK(write_png_640x480)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
