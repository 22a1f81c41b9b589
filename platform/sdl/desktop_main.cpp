// desktop_main.cpp - the desktop program's entry point.
#include "host/startup.h"
#include "platform/platform.h"
#include "platform/sdl/signals.h"

#include <SDL.h>
#include <string>

int main(int argc, char **argv) {
  sdlplat::WatchSignals();
  // The host takes no arguments; they are passed on as a command line only
  // because the entry point has one.
  std::string commandLine;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) {
      commandLine += ' ';
    }
    commandLine += argv[i];
  }
  constexpr int SW_SHOWNORMAL = 1;
  const int code =
      vantrel::WinMain(plat::GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOWNORMAL);
  // Gives the desktop back its screen saver and pointer; the display device
  // itself is never released.
  SDL_Quit();
  if (sdlplat::EndingSignal() != 0) {
    sdlplat::EndBySignal(sdlplat::EndingSignal());
  }
  return code;
}
