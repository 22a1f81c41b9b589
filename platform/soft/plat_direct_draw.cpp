// plat_direct_draw.cpp - the platform's DirectDraw calls answered by the
// soft device unchanged. A backend that uses the device adds the four calls
// it shapes itself: SetDisplayMode, Flip, BltFast and Blt (the desktop host
// presents on a mode change and on every flip; the benchmarks can send blits
// and flips to a device that does nothing).
#include "platform/platform.h"
#include "platform/soft/soft_device.h"

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

HRESULT TestCooperativeLevel(DirectDraw4 dd) { return soft::TestCooperativeLevel(dd); }

HRESULT CreateSurface(DirectDraw4 dd, DDSURFACEDESC2 *desc, Surface *out, void *outer) {
  return soft::CreateSurface(dd, desc, out, outer);
}

uint32_t ReleaseSurface(Surface s) { return soft::ReleaseSurface(s); }

HRESULT FlipToGDISurface(DirectDraw4 dd) { return soft::FlipToGDISurface(dd); }

HRESULT GetAttachedSurface(Surface s, DDSCAPS2 *caps, Surface *out) {
  return soft::GetAttachedSurface(s, caps, out);
}

HRESULT Restore(Surface s) { return soft::Restore(s); }

HRESULT IsLost(Surface s) { return soft::IsLost(s); }

HRESULT RestoreAllSurfaces(DirectDraw4 dd) { return soft::RestoreAllSurfaces(dd); }

HRESULT GetDC(Surface s, HDC *out) { return soft::GetDC(s, out); }

HRESULT ReleaseDC(Surface s, HDC dc) { return soft::ReleaseDC(s, dc); }

HRESULT Lock(Surface s, RECT *rect, DDSURFACEDESC2 *desc, uint32_t flags, void *event) {
  return soft::Lock(s, rect, desc, flags, event);
}

HRESULT Unlock(Surface s, RECT *rect) { return soft::Unlock(s, rect); }

HRESULT SetColorKey(Surface s, uint32_t flags, DDCOLORKEY *key) {
  return soft::SetColorKey(s, flags, key);
}

} // namespace plat
