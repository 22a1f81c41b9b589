// win32_real.h - the DirectDraw and bitmap calls straight over the real
// IDirectDraw4, IDirectDrawSurface4 and GDI (win32_ddraw.cpp, win32_gdi.cpp).
// The platform's calls (win32_display_calls.cpp) go to these in exclusive
// play and to the soft device in a window or borderless.
#ifndef VANTREL_PLATFORM_WIN32_REAL_H
#define VANTREL_PLATFORM_WIN32_REAL_H

#include "platform/platform.h"

namespace win32::real {

using plat::DDCOLORKEY;
using plat::DDSCAPS2;
using plat::DDSURFACEDESC2;
using plat::DirectDraw;
using plat::DirectDraw4;
using plat::GUID;
using plat::HDC;
using plat::HINSTANCE;
using plat::HRESULT;
using plat::HWND;
using plat::RECT;
using plat::Surface;

HRESULT DirectDrawCreate(const GUID *driver, DirectDraw *out, void *outer);
HRESULT QueryInterface(DirectDraw dd, const GUID *iid, DirectDraw4 *out);
HRESULT SetCooperativeLevel(DirectDraw4 dd, HWND wnd, uint32_t flags);
HRESULT TestCooperativeLevel(DirectDraw4 dd);
HRESULT SetDisplayMode(DirectDraw4 dd, uint32_t w, uint32_t h, uint32_t bpp, uint32_t refresh,
                       uint32_t flags);
HRESULT CreateSurface(DirectDraw4 dd, DDSURFACEDESC2 *desc, Surface *out, void *outer);
uint32_t ReleaseSurface(Surface s);
HRESULT FlipToGDISurface(DirectDraw4 dd);
HRESULT GetAttachedSurface(Surface s, DDSCAPS2 *caps, Surface *out);
HRESULT Flip(Surface s, Surface target, uint32_t flags);
HRESULT Restore(Surface s);
HRESULT IsLost(Surface s);
HRESULT RestoreAllSurfaces(DirectDraw4 dd);
HRESULT GetDC(Surface s, HDC *out);
HRESULT ReleaseDC(Surface s, HDC dc);
HRESULT Lock(Surface s, RECT *rect, DDSURFACEDESC2 *desc, uint32_t flags, void *event);
HRESULT Unlock(Surface s, RECT *rect);
HRESULT SetColorKey(Surface s, uint32_t flags, DDCOLORKEY *key);
HRESULT BltFast(Surface dst, uint32_t x, uint32_t y, Surface src, RECT *srcRect, uint32_t flags);
HRESULT Blt(Surface dst, RECT *dstRect, Surface src, RECT *srcRect, uint32_t flags, void *fx);
// IDirectDraw::Release and IDirectDraw4::Release, for a device given up.
void ReleaseDevice(DirectDraw dd, DirectDraw4 dd4);

void *LoadImageA(HINSTANCE inst, const char *name, uint32_t type, int32_t cx, int32_t cy,
                 uint32_t flags);
int32_t GetObjectA(void *object, int32_t size, void *out);
HDC CreateCompatibleDC(HDC dc);
void *SelectObject(HDC dc, void *object);
int32_t BitBlt(HDC dst, int32_t x, int32_t y, int32_t w, int32_t h, HDC src, int32_t sx, int32_t sy,
               uint32_t rop);
int32_t DeleteDC(HDC dc);
int32_t DeleteObject(void *object);

} // namespace win32::real

#endif
