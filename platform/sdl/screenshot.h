// screenshot.h - the Print Screen key: the current frame as a PNG file.
#ifndef VANTREL_PLATFORM_SDL_SCREENSHOT_H
#define VANTREL_PLATFORM_SDL_SCREENSHOT_H

#include "capture/frame_image.h"

#include <ctime>
#include <string>

namespace sdlplat {

// The file name for a shot taken at local time `when`: vantrel-YYYYMMDD-
// HHMMSS.png, then vantrel-YYYYMMDD-HHMMSS-2.png and so on for `attempt`
// 2, 3, ... when a shot of the same second already exists.
std::string ScreenshotName(const std::tm &when, int attempt);

// Writes `frame` into the current folder as a new file named for `when`:
// each name is created exclusively, so a file that has it (another host's
// shot of the same second, anything else) is never replaced, and the next
// name is tried. The name written, or "" with the reason in `why`.
std::string WriteScreenshot(const std::tm &when, const replay::RgbImage &frame, std::string *why);

// Writes the frame last flipped, at the module's display mode in the
// colours shown, into the current folder and prints its path on standard
// output. A recording notes the shot and the frame's number. False (with
// the reason on standard error) before the first mode or when the file
// cannot be written.
bool SaveScreenshot();

} // namespace sdlplat

#endif
