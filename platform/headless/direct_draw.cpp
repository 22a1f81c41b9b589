// direct_draw.cpp - the DirectDraw calls the headless backend shapes: every
// flip is a presented frame, counted and handed to the frame sink. The rest
// go to the soft device unchanged (platform/soft/plat_direct_draw.cpp).
#include "platform/headless/headless_state.h"
#include "platform/soft/soft_device.h"

namespace headless {
namespace {

FrameSink frameSink = nullptr;
FramePresenter framePresenter = nullptr;
uint32_t framesPresented = 0;

} // namespace

void SetFrameSink(FrameSink sink) { frameSink = sink; }
void SetFramePresenter(FramePresenter presenter) { framePresenter = presenter; }
uint32_t FramesPresented() { return framesPresented; }

void ResetFrames() {
  frameSink = nullptr;
  framesPresented = 0;
}

} // namespace headless

namespace plat {

HRESULT SetDisplayMode(DirectDraw4 dd, uint32_t w, uint32_t h, uint32_t bpp, uint32_t refresh,
                       uint32_t flags) {
  return soft::SetDisplayMode(dd, w, h, bpp, refresh, flags);
}

HRESULT Flip(Surface s, Surface target, uint32_t flags) {
  const HRESULT result = soft::Flip(s, target, flags);
  if (result == DD_OK) {
    ++headless::framesPresented;
    if (headless::framePresenter != nullptr) {
      headless::framePresenter(headless::framesPresented);
    }
    if (headless::frameSink != nullptr) {
      headless::frameSink(headless::framesPresented);
    }
  }
  return result;
}

HRESULT BltFast(Surface dst, uint32_t x, uint32_t y, Surface src, RECT *srcRect, uint32_t flags) {
  return soft::BltFast(dst, x, y, src, srcRect, flags);
}

HRESULT Blt(Surface dst, RECT *dstRect, Surface src, RECT *srcRect, uint32_t flags, void *fx) {
  return soft::Blt(dst, dstRect, src, srcRect, flags, fx);
}

} // namespace plat
