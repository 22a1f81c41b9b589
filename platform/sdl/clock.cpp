// clock.cpp - the 32-bit millisecond clock.
#include "platform/platform.h"

#include <SDL.h>

namespace plat {

// Milliseconds since SDL started, wrapping after about 49.7 days like the
// platform's multimedia timer.
uint32_t timeGetTime() { return static_cast<uint32_t>(SDL_GetTicks64()); }

} // namespace plat
