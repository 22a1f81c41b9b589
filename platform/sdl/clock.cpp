// clock.cpp - the 32-bit millisecond clock, its resolution, and keeping the
// display awake.
#include "platform/platform.h"

#include <SDL.h>

namespace plat {

// Milliseconds since SDL started, wrapping after about 49.7 days like the
// platform's multimedia timer.
uint32_t timeGetTime() { return static_cast<uint32_t>(SDL_GetTicks64()); }

// SDL's clock and the desktop's sleeps already count single milliseconds:
// there is no coarser period to ask away.
uint32_t timeBeginPeriod(uint32_t ms) { return ms == 0 ? TIMERR_NOCANDO : TIMERR_NOERROR; }
uint32_t timeEndPeriod(uint32_t ms) { return ms == 0 ? TIMERR_NOCANDO : TIMERR_NOERROR; }

// The desktop's screen saver stands for the display's sleep: held off while
// a continuous request wants the display, allowed again when one does not.
uint32_t SetThreadExecutionState(uint32_t flags) {
  static uint32_t state = ES_CONTINUOUS;
  const uint32_t previous = state;
  if ((flags & ES_CONTINUOUS) != 0) {
    state = flags;
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0) {
      if ((flags & ES_DISPLAY_REQUIRED) != 0) {
        SDL_DisableScreenSaver();
      } else {
        SDL_EnableScreenSaver();
      }
    }
  }
  return previous;
}

} // namespace plat
