// desktop_main.cpp - the desktop program's entry point.
#include "capture/recorder.h"
#include "host/startup.h"
#include "platform/module_calls/sound_player.h"
#include "platform/module_calls/window_title.h"
#include "platform/platform.h"
#include "platform/posix/module_search.h"
#include "platform/sdl/backend_state.h"
#include "platform/sdl/crash_report.h"
#include "platform/sdl/desktop_options.h"
#include "platform/sdl/message_queue.h"
#include "platform/sdl/signals.h"
#include "platform/sdl/sound_mixer.h"

#include <SDL.h>

int main(int argc, char **argv) {
  sdlplat::DesktopOptions options;
  const int parseExit =
      sdlplat::ReportParseResult(sdlplat::ParseDesktopOptions(argc, argv, &options));
  if (parseExit >= 0) {
    return parseExit;
  }
  sdlplat::WatchSignals();
  sdlplat::strictModes = options.strictModes;
  sdlplat::exclusive = !options.windowed;
  sdlplat::windowScale = options.scale;
  sdlplat::SetIdleTurnsPerSecond(options.fpsCap);
  posixplat::SetModuleFile(options.modulePath);
  // The module's sounds through SDL2_mixer, its title on the window.
  modulecalls::SetSoundOutput(sdlplat::MixerSoundOutput());
  modulecalls::SetTitleShower(sdlplat::ShowWindowTitle);
  // Every call of the module from here on goes into the recording.
  if (options.recordPath != nullptr && !replay::StartRecording(options.recordPath)) {
    return 2;
  }
  sdlplat::ReportCrashes(options.recordPath);

  // The core reads no command line: everything it is told comes through the
  // backend's settings above.
  char noCommandLine[] = "";
  constexpr int SW_SHOWNORMAL = 1;
  const int code =
      vantrel::WinMain(plat::GetModuleHandleA(nullptr), nullptr, noCommandLine, SW_SHOWNORMAL);
  replay::StopRecording();
  sdlplat::CloseSound();
  // Gives the desktop back its screen saver and pointer; the display device
  // itself is never released.
  SDL_Quit();
  if (sdlplat::EndingSignal() != 0) {
    sdlplat::EndBySignal(sdlplat::EndingSignal());
  }
  return code;
}
