// screenshot.cpp - the Print Screen key: the current frame as a PNG file.
#include "platform/sdl/screenshot.h"

#include "capture/frame_image.h"
#include "capture/recorder.h"
#include "platform/sdl/backend_state.h"

#include <cstdio>

namespace sdlplat {

std::string ScreenshotName(const std::tm &when, int attempt) {
  // One formatted write: concatenating the pieces as strings draws GCC 12's
  // false -Wrestrict at -O3.
  char name[80];
  char suffix[16] = "";
  if (attempt > 1) {
    std::snprintf(suffix, sizeof suffix, "-%d", attempt);
  }
  std::snprintf(name, sizeof name, "vantrel-%04d%02d%02d-%02d%02d%02d%s.png", when.tm_year + 1900,
                when.tm_mon + 1, when.tm_mday, when.tm_hour, when.tm_min, when.tm_sec, suffix);
  return name;
}

std::string WriteScreenshot(const std::tm &when, const replay::RgbImage &frame, std::string *why) {
  constexpr int kAttempts = 1000;
  for (int attempt = 1; attempt <= kAttempts; ++attempt) {
    const std::string file = ScreenshotName(when, attempt);
    switch (replay::WriteNewPng(file, frame, why)) {
    case replay::NewPng::Written:
      return file;
    case replay::NewPng::NameTaken:
      continue;
    case replay::NewPng::Failed:
      if (why != nullptr) {
        *why = file + ": " + *why;
      }
      return "";
    }
  }
  if (why != nullptr) {
    *why = "every name of this second up to " + ScreenshotName(when, kAttempts) + " is taken";
  }
  return "";
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
  std::string why;
  const std::string file = WriteScreenshot(local, frame, &why);
  if (file.empty()) {
    std::fprintf(stderr, "vantrel: the screenshot was not saved: %s\n", why.c_str());
    return false;
  }
  std::printf("%s\n", file.c_str());
  std::fflush(stdout);
  replay::RecordComment("screenshot " + file + " frame " + std::to_string(FramesPresented()));
  return true;
}

} // namespace sdlplat
