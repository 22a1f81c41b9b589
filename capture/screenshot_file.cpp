// screenshot_file.cpp - naming and writing a Print Screen shot.
#include "capture/screenshot_file.h"

#include "capture/recorder.h"

#include <cstdio>

namespace replay {
namespace {

// The local time now, on either system.
std::tm LocalTimeNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return local;
}

} // namespace

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

std::string WriteScreenshot(const std::tm &when, const RgbImage &frame, std::string *why) {
  constexpr int kAttempts = 1000;
  for (int attempt = 1; attempt <= kAttempts; ++attempt) {
    const std::string file = ScreenshotName(when, attempt);
    switch (WriteNewPng(file, frame, why)) {
    case NewPng::Written:
      return file;
    case NewPng::NameTaken:
      continue;
    case NewPng::Failed:
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

std::string SaveScreenshot(const RgbImage &frame, uint32_t frameNumber, std::string *why) {
  const std::string file = WriteScreenshot(LocalTimeNow(), frame, why);
  if (!file.empty()) {
    RecordComment("screenshot " + file + " frame " + std::to_string(frameNumber));
  }
  return file;
}

} // namespace replay
