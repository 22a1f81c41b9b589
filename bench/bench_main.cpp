// bench_main.cpp - the benchmark program: registers every group and records
// which blit loop variant the device chose for each operation and depth, and
// the machine's load.
#include "bench/bench_registry.h"
#include "platform/soft/blit_loops.h"
#include "platform/soft/soft_device.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

namespace {

// The variant the device chose for each operation and pixel size, as
// context entries "blit_keyed_copy_24bpp" = "avx2" and so on.
void AddChosenVariants() {
  for (int32_t bytes = 1; bytes <= 4; ++bytes) {
    const std::string depth = std::to_string(bytes * 8) + "bpp";
    benchmark::AddCustomContext("blit_keyed_copy_" + depth,
                                soft::ActiveBlitVariant(soft::BlitOp::KeyedCopy, bytes));
    benchmark::AddCustomContext("blit_keyed_stretch_" + depth,
                                soft::ActiveBlitVariant(soft::BlitOp::Stretch, bytes));
  }
}

std::string LoadAverage() {
  std::ifstream in("/proc/loadavg");
  std::string line;
  std::getline(in, line);
  return line;
}

} // namespace

int main(int argc, char **argv) {
  // The figures keep surfaces of every depth side by side; a mode change
  // must not lose them (the reload figures lose them on purpose).
  soft::KeepSurfacesOnModeChange(true);
  bench::RegisterBlitBenchmarks();
  bench::RegisterRenderBenchmarks();
  bench::RegisterPresentBenchmarks();
  bench::RegisterTextBenchmarks();
  bench::RegisterReloadBenchmarks();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
    return 1;
  }
  AddChosenVariants();
  benchmark::AddCustomContext("load_before", LoadAverage());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
