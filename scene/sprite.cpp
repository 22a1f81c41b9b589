// Sprite record: constructors and the word accessors.
#include "vantrel.h"

VSprite::VSprite()
    : srcX(0), srcY(0), srcW(0), srcH(0), dstX(0), dstY(0), dstW(0), dstH(0), image(nullptr),
      state(SPR_SHOWN) {}

VSprite::VSprite(VImg *img) : VSprite() { image = img; }

VSprite::VSprite(VImg *img, int32_t sx, int32_t sy, int32_t sw, int32_t sh, int32_t dx, int32_t dy,
                 int32_t dw, int32_t dh, int32_t st)
    : srcX(sx), srcY(sy), srcW(sw), srcH(sh), dstX(dx), dstY(dy), dstW(dw), dstH(dh), image(img),
      state(st) {}

int32_t VSprite::DstX() const { return dstX; }
int32_t VSprite::DstY() const { return dstY; }
int32_t VSprite::DstW() const { return dstW; }
int32_t VSprite::DstH() const { return dstH; }
int32_t VSprite::SrcX() const { return srcX; }
int32_t VSprite::SrcY() const { return srcY; }
int32_t VSprite::SrcW() const { return srcW; }
int32_t VSprite::SrcH() const { return srcH; }
int32_t VSprite::SetDstX(int32_t v) { return dstX = v; }
int32_t VSprite::SetDstY(int32_t v) { return dstY = v; }
int32_t VSprite::SetDstW(int32_t v) { return dstW = v; }
int32_t VSprite::SetDstH(int32_t v) { return dstH = v; }
int32_t VSprite::SetSrcX(int32_t v) { return srcX = v; }
int32_t VSprite::SetSrcY(int32_t v) { return srcY = v; }
int32_t VSprite::SetSrcW(int32_t v) { return srcW = v; }
int32_t VSprite::SetSrcH(int32_t v) { return srcH = v; }
