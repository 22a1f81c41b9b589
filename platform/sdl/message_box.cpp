// message_box.cpp - modal message boxes with one OK button.
#include "platform/sdl/backend_state.h"
#include "platform/sdl/event_pump.h"
#include "platform/sdl/signals.h"

#include <cstdio>

namespace plat {

int32_t MessageBoxA(HWND owner, const char *text, const char *caption, uint32_t type) {
  constexpr int32_t IDOK = 1;
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
  // A run ended by a signal has nobody at the screen to answer a box: the
  // line above is all it shows.
  if (sdlplat::EndingSignal() != 0) {
    return IDOK;
  }

  uint32_t flags = 0;
  switch (type & MB_ICONMASK) {
  case MB_ICONERROR:
    flags = SDL_MESSAGEBOX_ERROR;
    break;
  case MB_ICONWARNING:
    flags = SDL_MESSAGEBOX_WARNING;
    break;
  case MB_ICONINFORMATION:
    flags = SDL_MESSAGEBOX_INFORMATION;
    break;
  default:
    break;
  }
  SDL_MessageBoxButtonData ok{};
  ok.flags = SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
  ok.buttonid = IDOK;
  ok.text = "OK";
  SDL_MessageBoxData box{};
  box.flags = flags;
  // The box belongs to the window while it exists (it stays above it).
  box.window = sdlplat::LiveWindow(owner) != nullptr ? sdlplat::MainSdlWindow() : nullptr;
  box.title = shownCaption;
  box.message = shownText;
  box.numbuttons = 1;
  box.buttons = &ok;
  int pressed = 0;
  sdlplat::BeginOwnBox();
  const int shown = SDL_ShowMessageBox(&box, &pressed);
  sdlplat::EndOwnBox();
  if (shown != 0) {
    std::fprintf(stderr, "vantrel: the box could not be shown: %s\n", SDL_GetError());
    return 0;
  }
  return IDOK;
}

} // namespace plat
