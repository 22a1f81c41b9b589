#include "render/clip.h"

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

} // namespace vantrel
