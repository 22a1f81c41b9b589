// Drawing one sprite into the back buffer.
#include "base/say_why.h"
#include "display/display_state.h"
#include "render/clip.h"
#include "render/draw.h"

namespace vantrel {

namespace {

// The surface a sprite's pixels come from, or null (with the reason said)
// when the image, its holder or its surface is missing: an image whose load
// failed, for instance.
plat::Surface SpriteSurface(const VSprite *sprite) {
  if (sprite->image == nullptr) {
    SayWhy(Why::SpriteWithoutImage);
    return nullptr;
  }
  if (sprite->image->surf == nullptr || sprite->image->surf->surface == nullptr) {
    SayWhy(Why::SpriteImageWithoutSurface);
    return nullptr;
  }
  return static_cast<plat::Surface>(sprite->image->surf->surface);
}

// The device refuses (and draws nothing of) a source rectangle that is empty
// or not inside its image; the module is told why. Clipping to the screen
// only moves the edges inwards, so a clipped rectangle found outside was
// outside before, and one that clipping emptied is a sprite off the screen,
// which is normal and says nothing.
void SayWhyRefused(const VSprite *sprite, const plat::RECT &src) {
  if (sprite->srcW <= 0 || sprite->srcH <= 0) {
    SayWhy(Why::SpriteEmptySource);
    return;
  }
  const VSurf *holder = sprite->image->surf;
  if (src.left < 0 || src.top < 0 || src.right > holder->width || src.bottom > holder->height) {
    SayWhy(Why::SpriteSourceOutside);
  }
}

} // namespace

int32_t VANTREL_CDECL DrawSprite(VSprite *sprite) {
  if (sprite == nullptr) {
    SayWhy(Why::SpriteMissing);
    return 1;
  }
  if (sprite->state == HIDDEN) {
    return 1;
  }
  plat::Surface source = SpriteSurface(sprite);
  if (source == nullptr) {
    return 1;
  }
  if (backBuffer == nullptr) {
    SayWhy(Why::DrawBeforeMode);
    return 1;
  }
  plat::RECT src = {sprite->srcX, sprite->srcY, Add32(sprite->srcX, sprite->srcW),
                    Add32(sprite->srcY, sprite->srcH)};
  plat::RECT dst = {sprite->dstX, sprite->dstY, Add32(sprite->dstX, sprite->dstW),
                    Add32(sprite->dstY, sprite->dstH)};
  // The sprite's own sizes choose the operation, so clipping never turns a
  // copy into a stretch or back. A stretch cut at an edge keeps its shape: its
  // source moves by the clip amount scaled to source pixels.
  plat::HRESULT result = plat::DD_OK;
  if (sprite->dstW == sprite->srcW && sprite->dstH == sprite->srcH) {
    ClipToScreen(&dst, &src, screenW, screenH);
    result =
        plat::BltFast(backBuffer, static_cast<uint32_t>(dst.left), static_cast<uint32_t>(dst.top),
                      source, &src, plat::DDBLTFAST_SRCCOLORKEY | plat::DDBLTFAST_WAIT);
  } else {
    ClipScaledToScreen(&dst, &src, screenW, screenH);
    result =
        plat::Blt(backBuffer, &dst, source, &src, plat::DDBLT_KEYSRC | plat::DDBLT_WAIT, nullptr);
  }
  // The result changes nothing; a refused rectangle is only explained.
  if (result == plat::DDERR_INVALIDRECT) {
    SayWhyRefused(sprite, src);
  }
  return 1;
}

} // namespace vantrel
