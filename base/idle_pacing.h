// idle_pacing.h - spacing idle turns so the module is called at most N times
// a second (--fps-cap).
#ifndef VANTREL_BASE_IDLE_PACING_H
#define VANTREL_BASE_IDLE_PACING_H

#include <cstdint>

namespace vantrel {

// The schedule of idle turns on a counter of `ticksPerSecond` ticks. Turns
// are due one period apart from the first; a turn taken late moves the next
// one period on from the one it was due (so the rate holds on average),
// unless it came more than a whole period late: then the schedule starts
// again from it (no burst of turns to catch up).
struct IdlePacer {
  uint64_t period = 0; // ticks between turns; 0: no cap
  uint64_t due = 0;    // when the next turn is due
  bool started = false;
};

// A pacer for at most `perSecond` turns a second (0: no cap).
IdlePacer MakeIdlePacer(int32_t perSecond, uint64_t ticksPerSecond);

// Ticks to wait at `now` before the next turn may run; 0 when it may run now.
uint64_t TicksUntilTurn(const IdlePacer &pacer, uint64_t now);

// A turn runs at `now` (which must be no earlier than it was due).
void TakeTurn(IdlePacer *pacer, uint64_t now);

// One step of a wait for the next turn on a counter of `ticksPerSecond`
// ticks: when the turn is due at `now` it is taken and 0 is answered; else
// the whole milliseconds to wait, rounded up (a turn a little late keeps the
// schedule) and at most 1000, after which the caller asks again.
uint32_t TakeTurnOrWaitMs(IdlePacer *pacer, uint64_t now, uint64_t ticksPerSecond);

} // namespace vantrel

#endif
