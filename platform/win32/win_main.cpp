// win_main.cpp - the Windows entry point of vantrel.exe: reads how the player
// chose to play (the command line, then vantrel.ini beside the program), sets
// the backend up for it and hands over to the host core.
#include "capture/recorder.h"
#include "host/startup.h"
#include "platform/platform.h"
#include "platform/win32/win32_crash_report.h"
#include "platform/win32/win32_modules.h"
#include "platform/win32/win32_options.h"
#include "platform/win32/win32_presentation.h"

#include <windows.h>

#include <string>

namespace {

win32::Presentation ForBackend(playopts::Presentation presentation) {
  switch (presentation) {
  case playopts::Presentation::Borderless:
    return win32::Presentation::Borderless;
  case playopts::Presentation::Windowed:
    return win32::Presentation::Windowed;
  case playopts::Presentation::Exclusive:
    break;
  }
  return win32::Presentation::Exclusive;
}

} // namespace

int WINAPI WinMain(::HINSTANCE instance, ::HINSTANCE previous, ::LPSTR commandLine, int showCmd) {
  playopts::PlayOptions options;
  const int optionsExit = win32opts::ReadWindowsOptions(&options);
  if (optionsExit >= 0) {
    return optionsExit;
  }
  win32::ChoosePresentation(ForBackend(options.presentation), options.scale);
  win32::SetIdleTurnsPerSecond(options.fpsCap);
  if (!options.modulePath.empty()) {
    win32plat::SetModuleFile(options.modulePath.c_str());
  }
  // Every call of the module from here on goes into the recording.
  std::string why;
  if (!options.recordPath.empty() && !replay::StartRecording(options.recordPath.c_str(), &why)) {
    MessageBoxA(nullptr, ("vantrel: " + why).c_str(), "Vantrel", MB_OK | MB_ICONERROR);
    return 2;
  }
  win32::ReportCrashes(options.recordPath.empty() ? nullptr : options.recordPath.c_str());
  const int code =
      vantrel::WinMain(reinterpret_cast<plat::HINSTANCE>(instance),
                       reinterpret_cast<plat::HINSTANCE>(previous), commandLine, showCmd);
  replay::StopRecording();
  return code;
}
