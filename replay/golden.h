// golden.h - comparing a frame with its golden image.
#ifndef VANTREL_REPLAY_GOLDEN_H
#define VANTREL_REPLAY_GOLDEN_H

#include "capture/frame_image.h"

#include <cstdint>

namespace replay {

struct Comparison {
  bool sameSize = false;
  int64_t differing = 0; // pixels with a channel more than the tolerance apart
  // The smallest box holding every differing pixel, edges inclusive; only
  // meaningful when differing > 0.
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

// Compares pixel by pixel: a pixel matches when each of its channels differs
// by at most `tolerance`. Images of different sizes do not match at all.
Comparison CompareFrames(const RgbImage &frame, const RgbImage &golden, int32_t tolerance);

// The frame dimmed to a quarter of its brightness, with the pixels that
// differ from the golden in full magenta. Needs images of the same size.
RgbImage DiffImage(const RgbImage &frame, const RgbImage &golden, int32_t tolerance);

} // namespace replay

#endif
