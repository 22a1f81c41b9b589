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

uint32_t TakeTurnOrWaitMs(IdlePacer *pacer, uint64_t now, uint64_t ticksPerSecond) {
  const uint64_t wait = TicksUntilTurn(*pacer, now);
  if (wait == 0) {
    TakeTurn(pacer, now);
    return 0;
  }
  const uint64_t perSecond = ticksPerSecond > 0 ? ticksPerSecond : 1;
  const uint64_t ms = (wait * 1000 + perSecond - 1) / perSecond;
  return static_cast<uint32_t>(ms > 1000 ? 1000 : ms);
}

} // namespace vantrel
