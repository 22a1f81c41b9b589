// bench_registry.h - the benchmark groups, registered by bench_main.cpp.
#ifndef VANTREL_BENCH_BENCH_REGISTRY_H
#define VANTREL_BENCH_BENCH_REGISTRY_H

namespace bench {

void RegisterBlitBenchmarks();
void RegisterRenderBenchmarks();
void RegisterPresentBenchmarks();
void RegisterReloadBenchmarks();
void RegisterTextBenchmarks();

} // namespace bench

#endif
