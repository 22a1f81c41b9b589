#include "render/clip.h"

#include <cstdint>

namespace vantrel {

void ClipToScreen(plat::RECT *dst, plat::RECT *src, int32_t w, int32_t h) {
  const int32_t top = dst->top < 0 ? Sub32(0, dst->top) : 0;
  const int32_t bottom = dst->bottom > h ? Sub32(dst->bottom, h) : 0;
  const int32_t left = dst->left < 0 ? Sub32(0, dst->left) : 0;
  const int32_t right = dst->right > w ? Sub32(dst->right, w) : 0;
  if (top != 0) {
    dst->top = 0;
    src->top = Add32(src->top, top);
  }
  if (bottom != 0) {
    dst->bottom = h;
    src->bottom = Sub32(src->bottom, bottom);
  }
  if (left != 0) {
    dst->left = 0;
    src->left = Add32(src->left, left);
  }
  if (right != 0) {
    dst->right = w;
    src->right = Sub32(src->right, right);
  }
}

namespace {

// The clip amount of a destination edge as a positive count: the wrapped
// difference read unsigned, so INT_MIN past an edge is 2^31 pixels.
uint32_t Overhang(int32_t past) { return static_cast<uint32_t>(past); }

// `amount` destination pixels in source pixels, rounded down; at most
// INT32_MAX (more than the source holds, so the edge passes the other one).
int32_t ScaledAmount(uint32_t amount, int32_t srcLen, int32_t dstLen) {
  const uint64_t scaled =
      uint64_t{amount} * static_cast<uint64_t>(srcLen) / static_cast<uint64_t>(dstLen);
  return scaled > uint64_t{INT32_MAX} ? INT32_MAX : static_cast<int32_t>(scaled);
}

} // namespace

void ClipScaledToScreen(plat::RECT *dst, plat::RECT *src, int32_t w, int32_t h) {
  const int32_t dstW = Sub32(dst->right, dst->left);
  const int32_t dstH = Sub32(dst->bottom, dst->top);
  const int32_t srcW = Sub32(src->right, src->left);
  const int32_t srcH = Sub32(src->bottom, src->top);
  if (dstW <= 0 || dstH <= 0 || srcW <= 0 || srcH <= 0) {
    ClipToScreen(dst, src, w, h);
    return;
  }
  const uint32_t top = dst->top < 0 ? Overhang(Sub32(0, dst->top)) : 0;
  const uint32_t bottom = dst->bottom > h ? Overhang(Sub32(dst->bottom, h)) : 0;
  const uint32_t left = dst->left < 0 ? Overhang(Sub32(0, dst->left)) : 0;
  const uint32_t right = dst->right > w ? Overhang(Sub32(dst->right, w)) : 0;
  if (top != 0) {
    dst->top = 0;
    src->top = Add32(src->top, ScaledAmount(top, srcH, dstH));
  }
  if (bottom != 0) {
    dst->bottom = h;
    src->bottom = Sub32(src->bottom, ScaledAmount(bottom, srcH, dstH));
  }
  if (left != 0) {
    dst->left = 0;
    src->left = Add32(src->left, ScaledAmount(left, srcW, dstW));
  }
  if (right != 0) {
    dst->right = w;
    src->right = Sub32(src->right, ScaledAmount(right, srcW, dstW));
  }
}

} // namespace vantrel
