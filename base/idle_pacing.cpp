// idle_pacing.cpp - spacing idle turns (the schedule; the message peek does
// the waiting).
#include "base/idle_pacing.h"

namespace vantrel {

IdlePacer MakeIdlePacer(int32_t perSecond, uint64_t ticksPerSecond) {
  IdlePacer pacer;
  if (perSecond > 0 && ticksPerSecond > 0) {
    // Rounded up: never more turns than asked for.
    const auto n = static_cast<uint64_t>(perSecond);
    pacer.period = (ticksPerSecond + n - 1) / n;
  }
  return pacer;
}

uint64_t TicksUntilTurn(const IdlePacer &pacer, uint64_t now) {
  if (pacer.period == 0 || !pacer.started || now >= pacer.due) {
    return 0;
  }
  return pacer.due - now;
}

void TakeTurn(IdlePacer *pacer, uint64_t now) {
  if (pacer->period == 0) {
    return;
  }
  if (!pacer->started || now - pacer->due >= pacer->period) {
    pacer->due = now + pacer->period;
  } else {
    pacer->due += pacer->period;
  }
  pacer->started = true;
}

} // namespace vantrel
