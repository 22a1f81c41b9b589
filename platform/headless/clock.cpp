// clock.cpp - the virtual millisecond clock.
#include "platform/headless/headless_state.h"

namespace headless {

uint32_t clockNow = 0;

uint32_t Now() { return clockNow; }

void AdvanceClock(uint32_t ms) { clockNow += ms; }

} // namespace headless

namespace plat {

uint32_t timeGetTime() { return headless::clockNow; }

} // namespace plat
