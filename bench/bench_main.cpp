// bench_main.cpp - the benchmark program: registers every group and records
// which blit loops the device chose and the machine's load.
#include "bench/bench_registry.h"
#include "platform/soft/blit_loops.h"
#include "platform/soft/soft_device.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

namespace {

std::string ActiveLoopsName() {
  int32_t count = 0;
  const soft::BlitLoopVariant *all = soft::BlitLoopVariants(&count);
  for (int32_t i = 0; i < count; ++i) {
    if (all[i].loops == &soft::ActiveBlitLoops()) {
      return all[i].name;
    }
  }
  return "unknown";
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
  bench::RegisterReloadBenchmarks();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
    return 1;
  }
  benchmark::AddCustomContext("blit_loops", ActiveLoopsName());
  benchmark::AddCustomContext("load_before", LoadAverage());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
