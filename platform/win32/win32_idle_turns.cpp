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
    const uint32_t ms = vantrel::TakeTurnOrWaitMs(&pacer, Now(), frequency);
    if (ms == 0) {
      return false;
    }
    if (::MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_ALLINPUT) == WAIT_OBJECT_0) {
      ::MSG msg{};
      if (::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) != FALSE) {
        return true;
      }
    }
  }
}

} // namespace win32
