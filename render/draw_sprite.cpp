// Drawing one sprite into the back buffer.
#include "display/display_state.h"
#include "render/clip.h"
#include "render/draw.h"

namespace vantrel {

namespace {

// The surface a sprite's pixels come from, or null when the image, its holder
// or its surface is missing (an image whose load failed, for instance).
plat::Surface SpriteSurface(const VSprite *sprite) {
  if (sprite->image == nullptr || sprite->image->surf == nullptr) {
    return nullptr;
  }
  return static_cast<plat::Surface>(sprite->image->surf->surface);
}

} // namespace

int32_t VANTREL_CDECL DrawSprite(VSprite *sprite) {
  if (sprite == nullptr || sprite->state == HIDDEN) {
    return 1;
  }
  plat::Surface source = SpriteSurface(sprite);
  if (source == nullptr || backBuffer == nullptr) {
    return 1;
  }
  plat::RECT src = {sprite->srcX, sprite->srcY, Add32(sprite->srcX, sprite->srcW),
                    Add32(sprite->srcY, sprite->srcH)};
  plat::RECT dst = {sprite->dstX, sprite->dstY, Add32(sprite->dstX, sprite->dstW),
                    Add32(sprite->dstY, sprite->dstH)};
  // The sprite's own sizes choose the operation, so clipping never turns a
  // copy into a stretch or back. A stretch cut at an edge keeps its shape: its
  // source moves by the clip amount scaled to source pixels.
  if (sprite->dstW == sprite->srcW && sprite->dstH == sprite->srcH) {
    ClipToScreen(&dst, &src, screenW, screenH);
    plat::BltFast(backBuffer, static_cast<uint32_t>(dst.left), static_cast<uint32_t>(dst.top),
                  source, &src, plat::DDBLTFAST_SRCCOLORKEY | plat::DDBLTFAST_WAIT);
  } else {
    ClipScaledToScreen(&dst, &src, screenW, screenH);
    plat::Blt(backBuffer, &dst, source, &src, plat::DDBLT_KEYSRC | plat::DDBLT_WAIT, nullptr);
  }
  return 1;
}

} // namespace vantrel
