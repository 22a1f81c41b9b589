// event_pump.h - SDL events into window messages.
#ifndef VANTREL_PLATFORM_SDL_EVENT_PUMP_H
#define VANTREL_PLATFORM_SDL_EVENT_PUMP_H

#include "platform/platform.h"

#include <SDL.h>
#include <cstdint>

namespace sdlplat {

// Turns one SDL event into what the platform does for it: input becomes a
// queued message for the window (keys, pointer moves, buttons, wheel, a close
// request as WM_CLOSE); gaining or losing the input focus sends
// WM_ACTIVATEAPP with 1 or 0 at once; an exposed window is shown again. In
// exclusive mode, losing the focus to another application, or being
// minimised, loses the display: every surface of the soft device is lost and
// the window is minimised until it has the focus again.
void HandleEvent(const SDL_Event &event);

// The part of HandleEvent for keys, pointer, buttons and wheel: each becomes
// a queued message. HandleEvent drops them while another application has the
// display (exclusive mode lost).
void HandleInput(const SDL_Event &event);

// Around the host's own message box: the focus it takes is not the loss of
// the display, and its queued focus-lost event is dropped when it closes.
void BeginOwnBox();
void EndOwnBox();

// A new window starts out inactive until it gains the focus.
void ResetActivation();

// Takes every SDL event waiting and handles it.
void PumpEvents();

// A pointer position as a mouse message's lParam: x in the low word, y in
// the high word, each clamped into the w x h display (a pointer over the
// letterbox bars stands on the nearest edge of the mode).
plat::LPARAM PointerLParam(int32_t x, int32_t y, int32_t w, int32_t h);

// The MK_ flags of a mouse message's wParam from SDL's button mask and the
// keyboard's modifier state.
plat::WPARAM MouseKeyFlags(uint32_t buttons, uint16_t mod);

} // namespace sdlplat

#endif
