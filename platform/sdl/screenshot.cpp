// screenshot.cpp - the Print Screen key: the current frame as a PNG file.
#include "platform/sdl/screenshot.h"

#include "platform/sdl/backend_state.h"
#include "replay/frame_image.h"
#include "replay/recorder.h"

#include <cstdio>
#include <sys/stat.h>

namespace sdlplat {

std::string ScreenshotName(const std::tm &when, int attempt) {
  char name[64];
  std::snprintf(name, sizeof name, "vantrel-%04d%02d%02d-%02d%02d%02d", when.tm_year + 1900,
                when.tm_mon + 1, when.tm_mday, when.tm_hour, when.tm_min, when.tm_sec);
  std::string file = name;
  if (attempt > 1) {
    file += "-" + std::to_string(attempt);
  }
  return file + ".png";
}

bool SaveScreenshot() {
  replay::RgbImage frame;
  if (!replay::CaptureFrame(&frame)) {
    std::fprintf(stderr, "vantrel: no frame to save yet\n");
    return false;
  }
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  // An earlier shot of the same second is kept, not overwritten.
  std::string file;
  struct stat st {};
  for (int attempt = 1; attempt < 1000; ++attempt) {
    file = ScreenshotName(local, attempt);
    if (stat(file.c_str(), &st) != 0) {
      break;
    }
  }
  if (!replay::WritePng(file, frame)) {
    std::fprintf(stderr, "vantrel: cannot write the screenshot %s\n", file.c_str());
    return false;
  }
  std::printf("%s\n", file.c_str());
  std::fflush(stdout);
  replay::RecordComment("screenshot " + file + " frame " + std::to_string(FramesPresented()));
  return true;
}

} // namespace sdlplat
