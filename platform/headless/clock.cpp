// clock.cpp - the virtual millisecond clock.
#include "platform/headless/headless_state.h"

namespace headless {

uint32_t clockNow = 0;

uint32_t Now() { return clockNow; }

} // namespace headless

namespace plat {

uint32_t timeGetTime() { return headless::clockNow; }

} // namespace plat
