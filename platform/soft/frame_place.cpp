// frame_place.cpp - the letterbox arithmetic, in 64 bits so no size of mode
// or screen overflows.
#include "platform/soft/frame_place.h"

namespace soft {

FramePlace PlaceFrame(int32_t modeW, int32_t modeH, int32_t clientW, int32_t clientH) {
  FramePlace place;
  if (modeW <= 0 || modeH <= 0 || clientW <= 0 || clientH <= 0) {
    return place;
  }
  // The frame fills the width when the area is relatively taller than the
  // mode (clientW / clientH <= modeW / modeH), else the height.
  const int64_t crossClient = int64_t{clientW} * modeH;
  const int64_t crossMode = int64_t{clientH} * modeW;
  if (crossClient <= crossMode) {
    place.w = clientW;
    place.h = static_cast<int32_t>(int64_t{clientW} * modeH / modeW);
  } else {
    place.h = clientH;
    place.w = static_cast<int32_t>(int64_t{clientH} * modeW / modeH);
  }
  if (place.w <= 0 || place.h <= 0) {
    return FramePlace{};
  }
  place.x = (clientW - place.w) / 2;
  place.y = (clientH - place.h) / 2;
  return place;
}

namespace {

int32_t Back(int32_t c, int32_t origin, int32_t size, int32_t modeSize) {
  const int64_t m = (int64_t{c} - origin) * modeSize;
  int64_t pixel = m >= 0 ? m / size : -1;
  if (pixel < 0) {
    pixel = 0;
  }
  if (pixel >= modeSize) {
    pixel = modeSize - 1;
  }
  return static_cast<int32_t>(pixel);
}

} // namespace

void ClientToMode(const FramePlace &place, int32_t modeW, int32_t modeH, int32_t cx, int32_t cy,
                  int32_t *mx, int32_t *my) {
  if (mx == nullptr || my == nullptr) {
    return;
  }
  if (place.w <= 0 || place.h <= 0 || modeW <= 0 || modeH <= 0) {
    *mx = 0;
    *my = 0;
    return;
  }
  *mx = Back(cx, place.x, place.w, modeW);
  *my = Back(cy, place.y, place.h, modeH);
}

} // namespace soft
