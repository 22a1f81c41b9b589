// golden.cpp - comparing a frame with its golden image.
#include "replay/golden.h"

#include <cstdlib>

namespace replay {
namespace {

bool PixelDiffers(const uint8_t *a, const uint8_t *b, int32_t tolerance) {
  for (int c = 0; c < 3; ++c) {
    if (std::abs(int32_t{a[c]} - int32_t{b[c]}) > tolerance) {
      return true;
    }
  }
  return false;
}

bool SameSize(const RgbImage &a, const RgbImage &b) {
  return a.width == b.width && a.height == b.height && a.rgb.size() == b.rgb.size() &&
         a.rgb.size() == static_cast<size_t>(a.width) * static_cast<size_t>(a.height) * 3;
}

} // namespace

Comparison CompareFrames(const RgbImage &frame, const RgbImage &golden, int32_t tolerance) {
  Comparison result;
  result.sameSize = SameSize(frame, golden);
  if (!result.sameSize) {
    return result;
  }
  size_t i = 0;
  for (int32_t y = 0; y < frame.height; ++y) {
    for (int32_t x = 0; x < frame.width; ++x, i += 3) {
      if (!PixelDiffers(&frame.rgb[i], &golden.rgb[i], tolerance)) {
        continue;
      }
      if (result.differing == 0) {
        result.left = result.right = x;
        result.top = result.bottom = y;
      }
      ++result.differing;
      result.left = x < result.left ? x : result.left;
      result.right = x > result.right ? x : result.right;
      result.bottom = y; // rows are walked top to bottom
    }
  }
  return result;
}

RgbImage DiffImage(const RgbImage &frame, const RgbImage &golden, int32_t tolerance) {
  RgbImage diff = frame;
  if (!SameSize(frame, golden)) {
    return diff;
  }
  for (size_t i = 0; i < diff.rgb.size(); i += 3) {
    if (PixelDiffers(&frame.rgb[i], &golden.rgb[i], tolerance)) {
      diff.rgb[i] = 255;
      diff.rgb[i + 1] = 0;
      diff.rgb[i + 2] = 255;
    } else {
      for (int c = 0; c < 3; ++c) {
        diff.rgb[i + c] = static_cast<uint8_t>(frame.rgb[i + c] / 4);
      }
    }
  }
  return diff;
}

} // namespace replay
