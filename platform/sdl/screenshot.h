// screenshot.h - the Print Screen key: the current frame as a PNG file.
#ifndef VANTREL_PLATFORM_SDL_SCREENSHOT_H
#define VANTREL_PLATFORM_SDL_SCREENSHOT_H

namespace sdlplat {

// Writes the frame last flipped, at the module's display mode in the
// colours shown, into the current folder and prints its path on standard
// output. A recording notes the shot and the frame's number. False (with
// the reason on standard error) before the first mode or when the file
// cannot be written.
bool SaveScreenshot();

} // namespace sdlplat

#endif
