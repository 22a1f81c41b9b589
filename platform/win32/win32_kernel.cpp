// win32_kernel.cpp - the millisecond clock and its resolution, straight over
// the multimedia timer, and the power request that keeps the display awake.
// Module loading is in win32_modules.cpp.
#include "platform/platform.h"

#include "platform/win32/win32_records.h"

#include <mmsystem.h>

uint32_t plat::timeGetTime() { return ::timeGetTime(); }

uint32_t plat::timeBeginPeriod(uint32_t ms) { return ::timeBeginPeriod(ms); }

uint32_t plat::timeEndPeriod(uint32_t ms) { return ::timeEndPeriod(ms); }

uint32_t plat::SetThreadExecutionState(uint32_t flags) {
  return static_cast<uint32_t>(::SetThreadExecutionState(static_cast<::EXECUTION_STATE>(flags)));
}
