// kit_rect.cpp - rectangle tests of the module kit, in 64-bit sums so that
// no edge overflows.
#include "vantrel_kit.h"

namespace {

bool Empty(const VRect &r) { return r.w <= 0 || r.h <= 0; }
int64_t Right(const VRect &r) { return int64_t{r.x} + r.w; }
int64_t Bottom(const VRect &r) { return int64_t{r.y} + r.h; }

} // namespace

VRect VSpriteRect(const VSprite &sprite) {
  return VRect{sprite.dstX, sprite.dstY, sprite.dstW, sprite.dstH};
}

bool VRectsOverlap(const VRect &a, const VRect &b) {
  if (Empty(a) || Empty(b)) {
    return false;
  }
  return a.x < Right(b) && b.x < Right(a) && a.y < Bottom(b) && b.y < Bottom(a);
}

bool VRectContains(const VRect &outer, const VRect &inner) {
  if (Empty(outer) || Empty(inner)) {
    return false;
  }
  return inner.x >= outer.x && inner.y >= outer.y && Right(inner) <= Right(outer) &&
         Bottom(inner) <= Bottom(outer);
}

bool VRectContainsPoint(const VRect &r, int32_t px, int32_t py) {
  return !Empty(r) && px >= r.x && py >= r.y && px < Right(r) && py < Bottom(r);
}
