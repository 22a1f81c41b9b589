// window_title.cpp - the title a module sets, on the SDL window (seen when
// the host runs in a window).
#include "platform/sdl/backend_state.h"

namespace sdlplat {

void ShowWindowTitle(const char *title) {
  if (SDL_Window *window = MainSdlWindow()) {
    SDL_SetWindowTitle(window, title);
  }
}

} // namespace sdlplat
