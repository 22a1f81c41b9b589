// frame_place.h - where a frame of the display mode goes in a window's client
// area: as large as fits with its aspect kept, centred, the rest black bars;
// and the way back from a point in the window to a pixel of the mode.
#ifndef VANTREL_PLATFORM_SOFT_FRAME_PLACE_H
#define VANTREL_PLATFORM_SOFT_FRAME_PLACE_H

#include <cstdint>

namespace soft {

struct FramePlace {
  int32_t x = 0; // the picture's left edge in the client area
  int32_t y = 0; // its top edge
  int32_t w = 0; // its size; 0 when there is nothing to show
  int32_t h = 0;
};

// The place of a `modeW` x `modeH` frame in a `clientW` x `clientH` area.
// An area that is an exact multiple of the mode holds it at that multiple;
// otherwise the frame is scaled to touch two opposite edges. Empty for an
// empty mode or area.
FramePlace PlaceFrame(int32_t modeW, int32_t modeH, int32_t clientW, int32_t clientH);

// The mode pixel under client point (`cx`, `cy`), clamped into the mode:
// points on the bars give the nearest edge pixel. (0, 0) for an empty place.
void ClientToMode(const FramePlace &place, int32_t modeW, int32_t modeH, int32_t cx, int32_t cy,
                  int32_t *mx, int32_t *my);

} // namespace soft

#endif
