// bench_platform.h - the platform the benchmarks link the host core with.
//
// DirectDraw calls go to the soft display device, or, while the null device
// is switched on, BltFast, Blt and Flip answer DD_OK at once and draw nothing:
// what is left of a render pass then is the host's own work. Window, message
// and clock calls do nothing; a message box is printed to standard error.
#ifndef VANTREL_BENCH_BENCH_PLATFORM_H
#define VANTREL_BENCH_BENCH_PLATFORM_H

namespace bench {

void UseNullDevice(bool on);

} // namespace bench

#endif
