// module_calls.h - the Win32 calls served to modules on hosts that are not
// Windows (sdk/vantrel_win32.h): what a backend may set about them.
#ifndef VANTREL_PLATFORM_MODULE_CALLS_MODULE_CALLS_H
#define VANTREL_PLATFORM_MODULE_CALLS_MODULE_CALLS_H

#include <cstdint>

namespace modulecalls {

// How a module's Sleep waits. By default it really waits; a backend on a
// virtual clock (the replay runner) passes a function that moves that clock
// on by the time asked for and returns at once; null: Sleep does nothing.
using SleepFn = void (*)(uint32_t ms);
#if defined(_WIN32)
// On Windows a module calls the system's Sleep: nothing to set.
inline void SetModuleSleep(SleepFn) {}
#else
void SetModuleSleep(SleepFn sleep);

// The real wait, for putting the default back.
void SleepForReal(uint32_t ms);
#endif

} // namespace modulecalls

#endif
