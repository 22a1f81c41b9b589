// message_box.cpp - modal message boxes with the button set of their type.
#include "platform/box_buttons.h"
#include "platform/sdl/backend_state.h"
#include "platform/sdl/event_pump.h"
#include "platform/sdl/signals.h"

#include <cstdio>

namespace plat {

int32_t MessageBoxA(HWND owner, const char *text, const char *caption, uint32_t type) {
  constexpr uint32_t MB_ICONMASK = 0x000000F0u;
  constexpr uint32_t MB_ICONERROR = 0x00000010u;
  constexpr uint32_t MB_ICONWARNING = 0x00000030u;
  constexpr uint32_t MB_ICONINFORMATION = 0x00000040u;
  const char *shownText = text != nullptr ? text : "";
  const char *shownCaption = caption != nullptr ? caption : "Error";

  // A desktop program has no debugger window: every box is also written to
  // standard error, so a run started from a terminal (or a log) shows it.
  std::fprintf(stderr, "vantrel: [%s] %s\n", shownCaption, shownText);
  std::fflush(stderr);
  const BoxButtons set = ButtonsOf(type);
  if (set.count == 0) {
    // Windows refuses a box of a button set it does not know.
    std::fprintf(stderr, "vantrel: the box was not shown: unknown button set %u\n", type & 0xFu);
    return 0;
  }
  // A run ended by a signal has nobody at the screen to answer a box: the
  // line above is all it shows, and the default button answers.
  if (sdlplat::EndingSignal() != 0) {
    return set.buttons[set.defaultIndex].answer;
  }

  uint32_t flags = SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
  switch (type & MB_ICONMASK) {
  case MB_ICONERROR:
    flags |= SDL_MESSAGEBOX_ERROR;
    break;
  case MB_ICONWARNING:
    flags |= SDL_MESSAGEBOX_WARNING;
    break;
  case MB_ICONINFORMATION:
    flags |= SDL_MESSAGEBOX_INFORMATION;
    break;
  default:
    break;
  }
  SDL_MessageBoxButtonData buttons[3]{};
  for (int32_t i = 0; i < set.count; ++i) {
    buttons[i].buttonid = set.buttons[i].answer;
    buttons[i].text = set.buttons[i].label;
    if (i == set.defaultIndex) {
      buttons[i].flags |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
    }
    // Escape presses Cancel, or OK on a box with OK alone; on the others
    // (Yes/No, Abort/Retry/Ignore) it does nothing, as on Windows.
    if (set.buttons[i].answer == set.onEscape) {
      buttons[i].flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
    }
  }
  SDL_MessageBoxData box{};
  box.flags = flags;
  // The box belongs to the window while it exists (it stays above it).
  box.window = sdlplat::LiveWindow(owner) != nullptr ? sdlplat::MainSdlWindow() : nullptr;
  box.title = shownCaption;
  box.message = shownText;
  box.numbuttons = set.count;
  box.buttons = buttons;
  for (;;) {
    int pressed = -1;
    sdlplat::BeginOwnBox();
    sdlplat::NoteBoxOpen(true);
    const int shown = SDL_ShowMessageBox(&box, &pressed);
    sdlplat::NoteBoxOpen(false);
    sdlplat::EndOwnBox();
    if (sdlplat::EndingSignal() != 0 && pressed < 0) {
      // Taken away as the run ends by a signal.
      return set.buttons[set.defaultIndex].answer;
    }
    if (shown != 0) {
      std::fprintf(stderr, "vantrel: the box could not be shown: %s\n", SDL_GetError());
      return 0;
    }
    if (pressed >= 0) {
      return pressed;
    }
    // Closed without a button: Cancel's answer (OK's on the OK box). A box
    // without either cannot be closed on Windows, so it comes back, unless
    // the run is ending by a signal.
    if (set.onEscape != 0) {
      return set.onEscape;
    }
    if (sdlplat::EndingSignal() != 0) {
      return set.buttons[set.defaultIndex].answer;
    }
  }
}

} // namespace plat
