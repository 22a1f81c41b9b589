// desktop_main.cpp - the desktop program's entry point.
#include "capture/recorder.h"
#include "host/startup.h"
#include "platform/module_calls/sound_player.h"
#include "platform/module_calls/window_title.h"
#include "platform/options/play_help.h"
#include "platform/options/play_ini.h"
#include "platform/options/play_options.h"
#include "platform/platform.h"
#include "platform/posix/module_search.h"
#include "platform/sdl/backend_state.h"
#include "platform/sdl/crash_report.h"
#include "platform/sdl/message_queue.h"
#include "platform/sdl/signals.h"
#include "platform/sdl/sound_mixer.h"

#include <SDL.h>

namespace {

// The command line over vantrel.ini beside the program over the defaults.
// Answers the exit code for --help, --version or a bad command line, else
// -1; the file's problems are shown in one box and the run goes on.
int ReadOptions(int argc, char **argv, playopts::PlayOptions *options) {
  const int parseExit =
      playopts::ReportParseResult(playopts::ParsePlayOptions(argc, argv, options));
  if (parseExit >= 0) {
    return parseExit;
  }
  const playopts::IniReading file = playopts::ReadIniFile(posixplat::ExecutableFolder());
  if (!file.problems.empty()) {
    // Also on standard error, like every box; without a display, only there.
    constexpr uint32_t MB_ICONWARNING = 0x00000030u;
    plat::MessageBoxA(nullptr, file.problems.c_str(), playopts::kIniFileName,
                      plat::MB_OK | MB_ICONWARNING);
  }
  playopts::FillFromFile(file.options, options);
  return -1;
}

} // namespace

int main(int argc, char **argv) {
  playopts::PlayOptions options;
  const int optionsExit = ReadOptions(argc, argv, &options);
  if (optionsExit >= 0) {
    return optionsExit;
  }
  sdlplat::WatchSignals();
  sdlplat::strictModes = options.strictModes;
  // This host never changes the display's mode: exclusive and borderless
  // are both its full screen over the desktop.
  sdlplat::exclusive = options.presentation != playopts::Presentation::Windowed;
  sdlplat::windowScale = options.scale;
  sdlplat::SetIdleTurnsPerSecond(options.fpsCap);
  posixplat::SetModuleFile(options.modulePath.c_str());
  // The module's sounds through SDL2_mixer, its title on the window.
  modulecalls::SetSoundOutput(sdlplat::MixerSoundOutput());
  modulecalls::SetTitleShower(sdlplat::ShowWindowTitle);
  // Every call of the module from here on goes into the recording.
  const char *recordPath = options.recordPath.empty() ? nullptr : options.recordPath.c_str();
  if (recordPath != nullptr && !replay::StartRecording(recordPath)) {
    return 2;
  }
  sdlplat::ReportCrashes(recordPath);

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
