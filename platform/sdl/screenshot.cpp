// screenshot.cpp - the Print Screen key: the current frame as a PNG file.
#include "platform/sdl/screenshot.h"

#include "capture/frame_image.h"
#include "capture/screenshot_file.h"
#include "platform/sdl/backend_state.h"

#include <cstdio>

namespace sdlplat {

bool SaveScreenshot() {
  replay::RgbImage frame;
  if (!replay::CaptureFrame(&frame)) {
    std::fprintf(stderr, "vantrel: no frame to save yet\n");
    return false;
  }
  std::string why;
  const std::string file = replay::SaveScreenshot(frame, FramesPresented(), &why);
  if (file.empty()) {
    std::fprintf(stderr, "vantrel: the screenshot was not saved: %s\n", why.c_str());
    return false;
  }
  std::printf("%s\n", file.c_str());
  std::fflush(stdout);
  return true;
}

} // namespace sdlplat
