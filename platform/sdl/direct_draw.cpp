// direct_draw.cpp - DirectDraw on the soft device; a display mode is
// presented in the window and every flip shows the new front buffer.
#include "platform/sdl/backend_state.h"
#include "platform/soft/soft_device.h"

#include <cstdio>

namespace plat {

HRESULT DirectDrawCreate(const GUID *driver, DirectDraw *out, void *outer) {
  return soft::DirectDrawCreate(driver, out, outer);
}

HRESULT QueryInterface(DirectDraw dd, const GUID *iid, DirectDraw4 *out) {
  return soft::QueryInterface(dd, iid, out);
}

HRESULT SetCooperativeLevel(DirectDraw4 dd, HWND wnd, uint32_t flags) {
  return soft::SetCooperativeLevel(dd, wnd, flags);
}

HRESULT SetDisplayMode(DirectDraw4 dd, uint32_t w, uint32_t h, uint32_t bpp, uint32_t refresh,
                       uint32_t flags) {
  const HRESULT result = soft::SetDisplayMode(dd, w, h, bpp, refresh, flags);
  SDL_Window *window = sdlplat::MainSdlWindow();
  if (result != DD_OK || window == nullptr) {
    return result;
  }
  // The device took the mode; the screen must be able to show it too.
  if (!sdlplat::SetUpPresentation(window, static_cast<int32_t>(w), static_cast<int32_t>(h),
                                  static_cast<int32_t>(bpp))) {
    return DDERR_UNSUPPORTED;
  }
  return DD_OK;
}

HRESULT CreateSurface(DirectDraw4 dd, DDSURFACEDESC2 *desc, Surface *out, void *outer) {
  return soft::CreateSurface(dd, desc, out, outer);
}

uint32_t ReleaseSurface(Surface s) { return soft::ReleaseSurface(s); }

HRESULT GetAttachedSurface(Surface s, DDSCAPS2 *caps, Surface *out) {
  return soft::GetAttachedSurface(s, caps, out);
}

HRESULT Flip(Surface s, Surface target, uint32_t flags) {
  const HRESULT result = soft::Flip(s, target, flags);
  if (result == DD_OK) {
    sdlplat::PresentFrontBuffer();
  }
  return result;
}

HRESULT Restore(Surface s) { return soft::Restore(s); }

HRESULT GetDC(Surface s, HDC *out) { return soft::GetDC(s, out); }

HRESULT ReleaseDC(Surface s, HDC dc) { return soft::ReleaseDC(s, dc); }

HRESULT Lock(Surface s, RECT *rect, DDSURFACEDESC2 *desc, uint32_t flags, void *event) {
  return soft::Lock(s, rect, desc, flags, event);
}

HRESULT Unlock(Surface s, RECT *rect) { return soft::Unlock(s, rect); }

HRESULT SetColorKey(Surface s, uint32_t flags, DDCOLORKEY *key) {
  return soft::SetColorKey(s, flags, key);
}

HRESULT BltFast(Surface dst, uint32_t x, uint32_t y, Surface src, RECT *srcRect, uint32_t flags) {
  return soft::BltFast(dst, x, y, src, srcRect, flags);
}

HRESULT Blt(Surface dst, RECT *dstRect, Surface src, RECT *srcRect, uint32_t flags, void *fx) {
  return soft::Blt(dst, dstRect, src, srcRect, flags, fx);
}

} // namespace plat
