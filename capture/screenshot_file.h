// screenshot_file.h - the file a Print Screen shot goes into: a name of its
// own beside the game, never one that exists already.
#ifndef VANTREL_CAPTURE_SCREENSHOT_FILE_H
#define VANTREL_CAPTURE_SCREENSHOT_FILE_H

#include "capture/frame_image.h"

#include <cstdint>
#include <ctime>
#include <string>

namespace replay {

// The file name for a shot taken at local time `when`: vantrel-YYYYMMDD-
// HHMMSS.png, then vantrel-YYYYMMDD-HHMMSS-2.png and so on for `attempt`
// 2, 3, ... when a shot of the same second already exists.
std::string ScreenshotName(const std::tm &when, int attempt);

// Writes `frame` into the current folder as a new file named for `when`:
// each name is created exclusively, so a file that has it (another host's
// shot of the same second, anything else) is never replaced, and the next
// name is tried. The name written, or "" with the reason in `why`.
std::string WriteScreenshot(const std::tm &when, const RgbImage &frame, std::string *why);

// A Print Screen shot: `frame` written as above, named for the local time
// now, and noted in the recording, if one is made, with the number of the
// frame it shows. The name written, or "" with the reason in `why`.
std::string SaveScreenshot(const RgbImage &frame, uint32_t frameNumber, std::string *why);

} // namespace replay

#endif
