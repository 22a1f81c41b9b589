// win32_idle_turns.cpp - --fps-cap on Windows: while no message waits, the
// next idle turn waits until it is due, on the performance counter, waking
// for any message that comes first.
#include "base/idle_pacing.h"
#include "platform/win32/win32_presentation.h"
#include "platform/win32/win32_records.h"

namespace win32 {
namespace {

vantrel::IdlePacer pacer;
uint64_t frequency = 1;

uint64_t Now() {
  ::LARGE_INTEGER counter{};
  ::QueryPerformanceCounter(&counter);
  return static_cast<uint64_t>(counter.QuadPart);
}

} // namespace

void SetIdleTurnsPerSecond(int32_t perSecond) {
  ::LARGE_INTEGER f{};
  ::QueryPerformanceFrequency(&f);
  frequency = f.QuadPart > 0 ? static_cast<uint64_t>(f.QuadPart) : 1;
  pacer = vantrel::MakeIdlePacer(perSecond, frequency);
}

bool WaitForIdleTurn() {
  if (pacer.period == 0) {
    return false;
  }
  for (;;) {
    const uint64_t now = Now();
    const uint64_t wait = vantrel::TicksUntilTurn(pacer, now);
    if (wait == 0) {
      vantrel::TakeTurn(&pacer, now);
      return false;
    }
    // Whole milliseconds, rounded up: a turn a little late keeps the
    // schedule (the next one is due a period after this one was).
    const uint64_t ms = (wait * 1000 + frequency - 1) / frequency;
    const DWORD waitMs = static_cast<DWORD>(ms > 1000 ? 1000 : ms);
    if (::MsgWaitForMultipleObjects(0, nullptr, FALSE, waitMs, QS_ALLINPUT) == WAIT_OBJECT_0) {
      ::MSG msg{};
      if (::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) != FALSE) {
        return true;
      }
    }
  }
}

} // namespace win32
