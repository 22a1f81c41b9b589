// win32_display_calls.cpp - the platform's DirectDraw and bitmap calls on
// Windows: the real device in exclusive play, the soft device in a window or
// borderless. The choice is made before the device is created and holds for
// the run, so every handle the host holds comes from the device that answers
// it. When exclusive play cannot have the real device at all (no DirectDraw,
// or no exclusive cooperative level: remote desktop, some virtual machines),
// the run goes on borderless instead of ending.
#include "platform/platform.h"
#include "platform/soft/soft_device.h"
#include "platform/win32/win32_presentation.h"
#include "platform/win32/win32_real.h"

#include <cstdio>
#include <string>

namespace {

// A real device given up after DirectDrawCreate answered: the host holds its
// IDirectDraw4 handle, which from then on stands for the soft device's.
plat::DirectDraw4 abandonedReal = nullptr;
plat::DirectDraw4 softInstead = nullptr;
// The real IDirectDraw made last, released with its IDirectDraw4 when given up.
plat::DirectDraw realDevice = nullptr;

plat::DirectDraw4 Soft(plat::DirectDraw4 dd) {
  return dd != nullptr && dd == abandonedReal ? softInstead : dd;
}

// Flips so far, on either device.
uint32_t framesPresented = 0;

// The soft device's own device, for a host whose real one failed after it
// was created.
bool MakeSoftDevice(plat::HWND wnd, uint32_t flags) {
  plat::DirectDraw dd = nullptr;
  return soft::DirectDrawCreate(nullptr, &dd, nullptr) == plat::DD_OK &&
         soft::QueryInterface(dd, &plat::IID_IDirectDraw4, &softInstead) == plat::DD_OK &&
         soft::SetCooperativeLevel(softInstead, wnd, flags) == plat::DD_OK;
}

} // namespace

uint32_t win32::FramesPresented() { return framesPresented; }

namespace plat {

HRESULT DirectDrawCreate(const GUID *driver, DirectDraw *out, void *outer) {
  if (win32::SoftDisplay()) {
    return soft::DirectDrawCreate(driver, out, outer);
  }
  const HRESULT result = win32::real::DirectDrawCreate(driver, out, outer);
  if (result == DD_OK || out == nullptr) {
    realDevice = result == DD_OK && out != nullptr ? *out : nullptr;
    return result;
  }
  win32::FallBackToBorderless("DirectDrawCreate", result);
  return soft::DirectDrawCreate(driver, out, outer);
}

HRESULT QueryInterface(DirectDraw dd, const GUID *iid, DirectDraw4 *out) {
  if (win32::SoftDisplay()) {
    return soft::QueryInterface(dd, iid, out);
  }
  const HRESULT result = win32::real::QueryInterface(dd, iid, out);
  if (result == DD_OK || dd == nullptr || out == nullptr || dd != realDevice) {
    return result;
  }
  // A DirectDraw without IDirectDraw4 is no device for this host.
  win32::FallBackToBorderless("QueryInterface(IID_IDirectDraw4)", result);
  win32::real::ReleaseDevice(realDevice, nullptr);
  realDevice = nullptr;
  DirectDraw softDevice = nullptr;
  if (soft::DirectDrawCreate(nullptr, &softDevice, nullptr) != DD_OK) {
    return result;
  }
  return soft::QueryInterface(softDevice, iid, out);
}

HRESULT SetCooperativeLevel(DirectDraw4 dd, HWND wnd, uint32_t flags) {
  if (win32::SoftDisplay()) {
    return soft::SetCooperativeLevel(Soft(dd), wnd, flags);
  }
  const HRESULT result = win32::real::SetCooperativeLevel(dd, wnd, flags);
  if (result == DD_OK || dd == nullptr) {
    return result;
  }
  win32::FallBackToBorderless("SetCooperativeLevel", result);
  if (!MakeSoftDevice(wnd, flags)) {
    return result;
  }
  abandonedReal = dd;
  win32::real::ReleaseDevice(realDevice, dd);
  realDevice = nullptr;
  return DD_OK;
}

HRESULT TestCooperativeLevel(DirectDraw4 dd) {
  return win32::SoftDisplay() ? soft::TestCooperativeLevel(Soft(dd))
                              : win32::real::TestCooperativeLevel(dd);
}

HRESULT SetDisplayMode(DirectDraw4 dd, uint32_t w, uint32_t h, uint32_t bpp, uint32_t refresh,
                       uint32_t flags) {
  if (!win32::SoftDisplay()) {
    return win32::real::SetDisplayMode(dd, w, h, bpp, refresh, flags);
  }
  const HRESULT result = soft::SetDisplayMode(Soft(dd), w, h, bpp, refresh, flags);
  if (result != DD_OK) {
    const std::string why = soft::WhyNoMode(w, h, bpp);
    char line[320];
    std::snprintf(line, sizeof line, "SetDisplayMode %ux%ux%u: %s\n", w, h, bpp,
                  why.empty() ? "refused" : why.c_str());
    OutputDebugStringA(line);
    return result;
  }
  win32::NoteModeSet(static_cast<int32_t>(w), static_cast<int32_t>(h));
  return DD_OK;
}

HRESULT CreateSurface(DirectDraw4 dd, DDSURFACEDESC2 *desc, Surface *out, void *outer) {
  if (win32::SoftDisplay()) {
    return soft::CreateSurface(Soft(dd), desc, out, outer);
  }
  const HRESULT result = win32::real::CreateSurface(dd, desc, out, outer);
  if (result == DD_OK && desc != nullptr && out != nullptr &&
      (desc->ddsCaps.dwCaps & DDSCAPS_PRIMARYSURFACE) != 0) {
    win32::NoteRealPrimary(*out);
  }
  return result;
}

uint32_t ReleaseSurface(Surface s) {
  return win32::SoftDisplay() ? soft::ReleaseSurface(s) : win32::real::ReleaseSurface(s);
}

HRESULT FlipToGDISurface(DirectDraw4 dd) {
  return win32::SoftDisplay() ? soft::FlipToGDISurface(Soft(dd))
                              : win32::real::FlipToGDISurface(dd);
}

HRESULT GetAttachedSurface(Surface s, DDSCAPS2 *caps, Surface *out) {
  return win32::SoftDisplay() ? soft::GetAttachedSurface(s, caps, out)
                              : win32::real::GetAttachedSurface(s, caps, out);
}

HRESULT Flip(Surface s, Surface target, uint32_t flags) {
  if (!win32::SoftDisplay()) {
    const HRESULT result = win32::real::Flip(s, target, flags);
    if (result == DD_OK) {
      ++framesPresented;
    }
    return result;
  }
  const HRESULT result = soft::Flip(s, target, flags);
  if (result == DD_OK) {
    ++framesPresented;
    win32::PresentFrontBuffer();
  }
  return result;
}

HRESULT Restore(Surface s) {
  return win32::SoftDisplay() ? soft::Restore(s) : win32::real::Restore(s);
}

HRESULT IsLost(Surface s) {
  return win32::SoftDisplay() ? soft::IsLost(s) : win32::real::IsLost(s);
}

HRESULT RestoreAllSurfaces(DirectDraw4 dd) {
  return win32::SoftDisplay() ? soft::RestoreAllSurfaces(Soft(dd))
                              : win32::real::RestoreAllSurfaces(dd);
}

HRESULT GetDC(Surface s, HDC *out) {
  return win32::SoftDisplay() ? soft::GetDC(s, out) : win32::real::GetDC(s, out);
}

HRESULT ReleaseDC(Surface s, HDC dc) {
  return win32::SoftDisplay() ? soft::ReleaseDC(s, dc) : win32::real::ReleaseDC(s, dc);
}

HRESULT Lock(Surface s, RECT *rect, DDSURFACEDESC2 *desc, uint32_t flags, void *event) {
  return win32::SoftDisplay() ? soft::Lock(s, rect, desc, flags, event)
                              : win32::real::Lock(s, rect, desc, flags, event);
}

HRESULT Unlock(Surface s, RECT *rect) {
  return win32::SoftDisplay() ? soft::Unlock(s, rect) : win32::real::Unlock(s, rect);
}

HRESULT SetColorKey(Surface s, uint32_t flags, DDCOLORKEY *key) {
  return win32::SoftDisplay() ? soft::SetColorKey(s, flags, key)
                              : win32::real::SetColorKey(s, flags, key);
}

HRESULT BltFast(Surface dst, uint32_t x, uint32_t y, Surface src, RECT *srcRect, uint32_t flags) {
  return win32::SoftDisplay() ? soft::BltFast(dst, x, y, src, srcRect, flags)
                              : win32::real::BltFast(dst, x, y, src, srcRect, flags);
}

HRESULT Blt(Surface dst, RECT *dstRect, Surface src, RECT *srcRect, uint32_t flags, void *fx) {
  return win32::SoftDisplay() ? soft::Blt(dst, dstRect, src, srcRect, flags, fx)
                              : win32::real::Blt(dst, dstRect, src, srcRect, flags, fx);
}

// Bitmap files and the device-context copy: the soft device's own bitmaps
// and device contexts go with its surfaces.
void *LoadImageA(HINSTANCE inst, const char *name, uint32_t type, int32_t cx, int32_t cy,
                 uint32_t flags) {
  return win32::SoftDisplay() ? soft::LoadImageA(inst, name, type, cx, cy, flags)
                              : win32::real::LoadImageA(inst, name, type, cx, cy, flags);
}

int32_t GetObjectA(void *object, int32_t size, void *out) {
  return win32::SoftDisplay() ? soft::GetObjectA(object, size, out)
                              : win32::real::GetObjectA(object, size, out);
}

HDC CreateCompatibleDC(HDC dc) {
  return win32::SoftDisplay() ? soft::CreateCompatibleDC(dc) : win32::real::CreateCompatibleDC(dc);
}

void *SelectObject(HDC dc, void *object) {
  return win32::SoftDisplay() ? soft::SelectObject(dc, object)
                              : win32::real::SelectObject(dc, object);
}

int32_t BitBlt(HDC dst, int32_t x, int32_t y, int32_t w, int32_t h, HDC src, int32_t sx, int32_t sy,
               uint32_t rop) {
  return win32::SoftDisplay() ? soft::BitBlt(dst, x, y, w, h, src, sx, sy, rop)
                              : win32::real::BitBlt(dst, x, y, w, h, src, sx, sy, rop);
}

int32_t DeleteDC(HDC dc) {
  return win32::SoftDisplay() ? soft::DeleteDC(dc) : win32::real::DeleteDC(dc);
}

int32_t DeleteObject(void *object) {
  return win32::SoftDisplay() ? soft::DeleteObject(object) : win32::real::DeleteObject(object);
}

} // namespace plat
