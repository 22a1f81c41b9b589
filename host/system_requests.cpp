// The timer period and the keep-awake request, each given back exactly once.
#include "host/system_requests.h"

#include "platform/platform.h"

#include <cstdint>

namespace vantrel {

namespace {

constexpr uint32_t kTimerPeriodMs = 1;
bool periodBegun = false; // timeBeginPeriod granted, timeEndPeriod owed
bool awake = false;       // the keep-awake request is in force

} // namespace

void BeginTimerPeriod() {
  if (!periodBegun) {
    periodBegun = plat::timeBeginPeriod(kTimerPeriodMs) == plat::TIMERR_NOERROR;
  }
}

void KeepAwake(bool on) {
  if (on == awake) {
    return;
  }
  const uint32_t flags =
      on ? plat::ES_CONTINUOUS | plat::ES_DISPLAY_REQUIRED | plat::ES_SYSTEM_REQUIRED
         : plat::ES_CONTINUOUS;
  // A refused request (answer 0) leaves the state as it was.
  if (plat::SetThreadExecutionState(flags) != 0) {
    awake = on;
  }
}

void EndSystemRequests() {
  KeepAwake(false);
  if (periodBegun) {
    plat::timeEndPeriod(kTimerPeriodMs);
    periodBegun = false;
  }
}

void ForgetSystemRequests() {
  periodBegun = false;
  awake = false;
}

} // namespace vantrel
