// window_mode.cpp - full screen or a window: the window's size and place for
// the presented mode, and Alt+Enter switching between the two.
#include "platform/sdl/backend_state.h"

namespace sdlplat {
namespace {

// The size a window has before the module sets a mode.
constexpr int32_t kFirstModeW = 640;
constexpr int32_t kFirstModeH = 480;

} // namespace

int32_t windowScale = 1;

void WindowedSize(int32_t modeW, int32_t modeH, int32_t *w, int32_t *h) {
  if (modeW <= 0 || modeH <= 0) {
    modeW = kFirstModeW;
    modeH = kFirstModeH;
  }
  const int32_t scale = windowScale >= 1 ? windowScale : 1;
  *w = modeW * scale;
  *h = modeH * scale;
}

void ApplyWindowMode() {
  SDL_Window *window = MainSdlWindow();
  if (window == nullptr) {
    return;
  }
  if (exclusive) {
    // Placed over the whole display first: without a window manager (which
    // is what SDL asks for full screen) the window covers it all the same.
    SDL_Rect bounds{};
    if (SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(window), &bounds) == 0) {
      SDL_SetWindowBordered(window, SDL_FALSE);
      SDL_SetWindowPosition(window, bounds.x, bounds.y);
      SDL_SetWindowSize(window, bounds.w, bounds.h);
    }
    SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    return;
  }
  int32_t modeW = 0;
  int32_t modeH = 0;
  PresentedModeSize(&modeW, &modeH);
  int32_t w = 0;
  int32_t h = 0;
  WindowedSize(modeW, modeH, &w, &h);
  SDL_SetWindowFullscreen(window, 0);
  SDL_SetWindowBordered(window, SDL_TRUE);
  SDL_SetWindowSize(window, w, h);
  SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
}

void ToggleFullScreen() {
  exclusive = !exclusive;
  ApplyWindowMode();
}

} // namespace sdlplat
