// clock.cpp - the virtual millisecond clock.
#include "platform/headless/headless_state.h"

namespace headless {

uint32_t clockNow = 0;

uint32_t Now() { return clockNow; }

void AdvanceClock(uint32_t ms) { clockNow += ms; }

} // namespace headless

namespace plat {

uint32_t timeGetTime() { return headless::clockNow; }

// The virtual clock counts whole milliseconds already, and there is no
// display to keep awake.
uint32_t timeBeginPeriod(uint32_t ms) { return ms == 0 ? TIMERR_NOCANDO : TIMERR_NOERROR; }
uint32_t timeEndPeriod(uint32_t ms) { return ms == 0 ? TIMERR_NOCANDO : TIMERR_NOERROR; }
uint32_t SetThreadExecutionState(uint32_t flags) {
  static uint32_t state = ES_CONTINUOUS;
  const uint32_t previous = state;
  if ((flags & ES_CONTINUOUS) != 0) {
    state = flags;
  }
  return previous;
}

} // namespace plat
