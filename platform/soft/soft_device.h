// soft_device.h - the software display device.
//
// A DirectDraw-like device in plain memory: display modes of 8 (fixed
// palette), 16 (RGB565), 24 (BGR) and 32 (XRGB8888) bits per pixel, a primary
// surface with one attached back buffer that Flip exchanges, off-screen
// surfaces with rows padded to a multiple of 4 bytes, keyed BltFast and
// stretching Blt, Lock/Unlock, SetColorKey, Restore, and the device-context
// copy of a bitmap file into a surface. It has no window: the desktop backend
// shows its front buffer, and the test double inspects it.
//
// The functions carry the names and signatures of the platform calls they
// stand for (see platform.h); the backends forward plat:: calls to them.
#ifndef VANTREL_PLATFORM_SOFT_SOFT_DEVICE_H
#define VANTREL_PLATFORM_SOFT_SOFT_DEVICE_H

#include "platform/platform.h"

#include <cstdint>
#include <string>

namespace soft {

using plat::HRESULT;

// DirectDraw.
HRESULT DirectDrawCreate(const plat::GUID *driver, plat::DirectDraw *out, void *outer);
HRESULT QueryInterface(plat::DirectDraw dd, const plat::GUID *iid, plat::DirectDraw4 *out);
HRESULT SetCooperativeLevel(plat::DirectDraw4 dd, plat::HWND wnd, uint32_t flags);
// Why the device cannot make a display mode of this size and depth ("7 bits
// per pixel: ..."), or "" when it can.
std::string WhyNoMode(uint32_t w, uint32_t h, uint32_t bpp);
HRESULT TestCooperativeLevel(plat::DirectDraw4 dd);
HRESULT SetDisplayMode(plat::DirectDraw4 dd, uint32_t w, uint32_t h, uint32_t bpp, uint32_t refresh,
                       uint32_t flags);
HRESULT CreateSurface(plat::DirectDraw4 dd, plat::DDSURFACEDESC2 *desc, plat::Surface *out,
                      void *outer);
uint32_t ReleaseSurface(plat::Surface s);
HRESULT FlipToGDISurface(plat::DirectDraw4 dd);
HRESULT GetAttachedSurface(plat::Surface s, plat::DDSCAPS2 *caps, plat::Surface *out);
HRESULT Flip(plat::Surface s, plat::Surface target, uint32_t flags);
HRESULT Restore(plat::Surface s);
HRESULT IsLost(plat::Surface s);
HRESULT RestoreAllSurfaces(plat::DirectDraw4 dd);
HRESULT GetDC(plat::Surface s, plat::HDC *out);
HRESULT ReleaseDC(plat::Surface s, plat::HDC dc);
HRESULT Lock(plat::Surface s, plat::RECT *rect, plat::DDSURFACEDESC2 *desc, uint32_t flags,
             void *event);
HRESULT Unlock(plat::Surface s, plat::RECT *rect);
HRESULT SetColorKey(plat::Surface s, uint32_t flags, plat::DDCOLORKEY *key);
HRESULT BltFast(plat::Surface dst, uint32_t x, uint32_t y, plat::Surface src, plat::RECT *srcRect,
                uint32_t flags);
HRESULT Blt(plat::Surface dst, plat::RECT *dstRect, plat::Surface src, plat::RECT *srcRect,
            uint32_t flags, void *fx);

// GDI: bitmap files and device contexts.
void *LoadImageA(plat::HINSTANCE inst, const char *name, uint32_t type, int32_t cx, int32_t cy,
                 uint32_t flags);
int32_t GetObjectA(void *object, int32_t size, void *out);
plat::HDC CreateCompatibleDC(plat::HDC dc);
void *SelectObject(plat::HDC dc, void *object);
int32_t BitBlt(plat::HDC dst, int32_t x, int32_t y, int32_t w, int32_t h, plat::HDC src, int32_t sx,
               int32_t sy, uint32_t rop);
int32_t DeleteDC(plat::HDC dc);
int32_t DeleteObject(void *object);

// ---------------------------------------------------------------------------
// Surface loss. The device models the worst case of a real display: every
// surface lives in video memory, so every one is lost together. A display-mode
// change (also to the same mode) loses every surface made before it; so does
// the loss of the exclusive mode to another application, which the desktop
// backend reports here. A lost surface refuses blits, Lock, GetDC,
// GetAttachedSurface and Flip with DDERR_SURFACELOST until it is restored;
// Restore answers DDERR_WRONGMODE while the exclusive mode is away or when the
// surface was made for another depth or size of mode, and a restored surface
// holds visibly wrong pixels until its owner draws it again.
// ---------------------------------------------------------------------------
// Another application took the display: with an exclusive cooperative level
// every surface is lost and Restore refuses until RegainExclusiveMode. Answers
// whether anything was lost (a normal cooperative level loses nothing).
bool LoseExclusiveMode();
// The application has the display again; surfaces stay lost until restored.
void RegainExclusiveMode();
// True between LoseExclusiveMode (when it lost) and RegainExclusiveMode.
bool ExclusiveModeAway();
// Another program set a display mode of its own: every surface is lost, the
// device runs in that mode, and with an exclusive cooperative level
// TestCooperativeLevel answers DDERR_WRONGMODE (once the display is back)
// until the application sets a mode itself.
void ChangeModeElsewhere(uint32_t w, uint32_t h, uint32_t bpp);
//
// TestCooperativeLevel answers by these states: DDERR_NOEXCLUSIVEMODE while
// the exclusive mode is away, else DDERR_WRONGMODE after a mode changed
// elsewhere, else DD_OK. No state change sends a window message: the device
// has no window, so a loss with no deactivation (the lock screen, a
// consent prompt) is LoseExclusiveMode alone.

// ---------------------------------------------------------------------------
// Inspection, for the desktop presentation, the tests and the benchmarks.
// ---------------------------------------------------------------------------
struct SurfaceView {
  int32_t width;
  int32_t height;
  int32_t bpp;     // 8, 16, 24 or 32
  int32_t pitch;   // bytes per row, a multiple of 4
  uint8_t *pixels; // first byte of the top row
  bool hasKey;     // a source colour key is set
  uint32_t key;    // its value, in the surface's pixel format
};

// Describes a surface of this device; false for anything else.
bool View(plat::Surface s, SurfaceView *out);

// The visible surface of the flipping chain (the primary), or null before a
// mode is set.
plat::Surface Primary();

// The mode's depth; 32 before the first SetDisplayMode.
int32_t DisplayBpp();

// The fixed palette of 8-bit modes, as 0x00RRGGBB.
uint32_t PaletteRgb(uint8_t index);

// A pixel of surface `s` as 0x00RRGGBB (for tests); 0 when out of range.
uint32_t PixelRgb(plat::Surface s, int32_t x, int32_t y);

// The stored value a colour 0x00RRGGBB takes in a surface of `bpp` bits.
uint32_t EncodeRgb(int32_t bpp, uint32_t rgb);

// For the benchmarks, which keep surfaces of several depths side by side:
// with `keep`, a mode change loses nothing (ResetDevice turns it off again).
void KeepSurfacesOnModeChange(bool keep);

// Drops every device object, surface, bitmap and context (tests only).
void ResetDevice();

} // namespace soft

#endif
