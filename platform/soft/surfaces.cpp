// surfaces.cpp - creating, releasing, flipping, locking and keying surfaces.
//
// A primary surface has the mode's size and depth and one back buffer of the
// same shape. The chain is one object to its owner: the back buffer handed out
// by GetAttachedSurface counts its own references, but it is freed together
// with the primary when the primary's last reference goes. Off-screen surfaces
// take the mode's depth (32 bits before any mode) unless a pixel format of the
// device is asked for. Pixel memory starts zeroed.
#include "platform/soft/device_state.h"
#include "platform/soft/pixel_format.h"
#include "platform/soft/soft_device.h"

#include <cstring>
#include <utility>

namespace soft {
namespace {

uint32_t KeyMask(int32_t bpp) { return bpp >= 32 ? 0xFFFFFFFFu : (1u << bpp) - 1u; }

// Makes a zeroed surface of w x h pixels of `bpp` bits and files it in the
// device's table.
HRESULT MakeSurface(int64_t w, int64_t h, int32_t bpp, SurfaceObject **made) {
  *made = nullptr;
  if (w <= 0 || h <= 0) {
    return plat::DDERR_INVALIDPARAMS;
  }
  if (w > kMaxSurfaceSide || h > kMaxSurfaceSide) {
    return plat::DDERR_OUTOFMEMORY;
  }
  const int64_t pitch = PitchFor(w, bpp);
  const int64_t bytes = pitch * h;
  if (bytes > kMaxSurfaceBytes) {
    return plat::DDERR_OUTOFMEMORY;
  }
  auto *memory = static_cast<uint8_t *>(std::calloc(static_cast<size_t>(bytes), 1));
  if (memory == nullptr) {
    return plat::DDERR_OUTOFMEMORY;
  }
  auto surface = std::make_unique<SurfaceObject>();
  surface->width = static_cast<int32_t>(w);
  surface->height = static_cast<int32_t>(h);
  surface->bpp = bpp;
  surface->pitch = static_cast<int32_t>(pitch);
  surface->pixels.reset(memory);
  SurfaceObject *raw = surface.get();
  State().surfaces.emplace(raw, std::move(surface));
  *made = raw;
  return plat::DD_OK;
}

HRESULT CreatePrimary(const plat::DDSURFACEDESC2 &desc, plat::Surface *out) {
  DeviceState &st = State();
  const uint32_t caps = desc.ddsCaps.dwCaps;
  if ((desc.dwFlags & (plat::DDSD_WIDTH | plat::DDSD_HEIGHT | plat::DDSD_PIXELFORMAT |
                       plat::DDSD_PITCH | plat::DDSD_LPSURFACE)) != 0) {
    return plat::DDERR_INVALIDPARAMS; // the primary always takes the mode's shape
  }
  if (!st.modeSet) {
    return kNoExclusiveMode;
  }
  if (st.primary != nullptr) {
    return plat::DDERR_PRIMARYSURFACEALREADYEXISTS;
  }
  uint32_t backCount = 0;
  if ((desc.dwFlags & plat::DDSD_BACKBUFFERCOUNT) != 0) {
    backCount = desc.dwBackBufferCount;
  }
  const uint32_t chainCaps = plat::DDSCAPS_FLIP | plat::DDSCAPS_COMPLEX;
  const bool flipping = (caps & chainCaps) != 0;
  if (flipping != (backCount != 0) || (flipping && (caps & chainCaps) != chainCaps)) {
    return kInvalidCaps;
  }
  if (backCount > 1) {
    return plat::DDERR_UNSUPPORTED; // the chain holds one back buffer
  }
  SurfaceObject *primary = nullptr;
  HRESULT hr = MakeSurface(st.modeWidth, st.modeHeight, st.modeBpp, &primary);
  if (hr != plat::DD_OK) {
    return hr;
  }
  primary->primary = true;
  if (backCount == 1) {
    SurfaceObject *back = nullptr;
    hr = MakeSurface(st.modeWidth, st.modeHeight, st.modeBpp, &back);
    if (hr != plat::DD_OK) {
      DestroySurface(primary);
      return hr;
    }
    back->backBuffer = true;
    back->refs = 0; // held by the chain until someone asks for it
    back->chain = primary;
    primary->chain = back;
  }
  st.primary = primary;
  *out = reinterpret_cast<plat::Surface>(primary);
  return plat::DD_OK;
}

HRESULT CreateOffscreen(const plat::DDSURFACEDESC2 &desc, plat::Surface *out) {
  const uint32_t caps = (desc.dwFlags & plat::DDSD_CAPS) != 0 ? desc.ddsCaps.dwCaps : 0;
  if ((caps & (plat::DDSCAPS_FLIP | plat::DDSCAPS_COMPLEX | plat::DDSCAPS_BACKBUFFER |
               plat::DDSCAPS_FRONTBUFFER)) != 0 ||
      (desc.dwFlags & plat::DDSD_BACKBUFFERCOUNT) != 0) {
    return kInvalidCaps;
  }
  const uint32_t size = plat::DDSD_WIDTH | plat::DDSD_HEIGHT;
  if ((desc.dwFlags & size) != size) {
    return plat::DDERR_INVALIDPARAMS;
  }
  if ((desc.dwFlags & (plat::DDSD_LPSURFACE | plat::DDSD_PITCH)) != 0) {
    return plat::DDERR_UNSUPPORTED; // surfaces live in the device's own memory
  }
  int32_t bpp = State().modeBpp;
  if ((desc.dwFlags & plat::DDSD_PIXELFORMAT) != 0) {
    bpp = BppOfPixelFormat(desc.ddpfPixelFormat);
    if (bpp == 0) {
      return plat::DDERR_INVALIDPIXELFORMAT;
    }
  }
  SurfaceObject *made = nullptr;
  const HRESULT hr = MakeSurface(desc.dwWidth, desc.dwHeight, bpp, &made);
  if (hr == plat::DD_OK) {
    *out = reinterpret_cast<plat::Surface>(made);
  }
  return hr;
}

bool Busy(const SurfaceObject &s) { return s.locked || s.dc != nullptr; }

// Fills restored memory with bands of bytes, 8 rows each, that no bitmap of
// a module is likely to hold, so a surface that was not drawn again shows.
void FillRestored(SurfaceObject &s) {
  uint8_t *row = s.pixels.get();
  for (int32_t y = 0; y < s.height; ++y, row += s.pitch) {
    std::memset(row, (y / 8) % 2 == 0 ? 0xF8 : 0x1F, static_cast<size_t>(s.pitch));
  }
}

// Whether a surface can live in the current mode: a primary and its back
// buffer need the mode's size and depth, every other surface its depth.
bool FitsMode(const SurfaceObject &s) {
  const DeviceState &st = State();
  if (s.bpp != st.modeBpp) {
    return false;
  }
  return !s.primary || (s.width == st.modeWidth && s.height == st.modeHeight);
}

} // namespace

HRESULT CreateSurface(plat::DirectDraw4 dd, plat::DDSURFACEDESC2 *desc, plat::Surface *out,
                      void *outer) {
  if (out == nullptr) {
    return plat::DDERR_INVALIDPARAMS;
  }
  *out = nullptr;
  if (!IsDirectDraw4(dd)) {
    return kInvalidObject;
  }
  if (desc == nullptr) {
    return plat::DDERR_INVALIDPARAMS;
  }
  if (outer != nullptr) {
    return kNoAggregation;
  }
  const bool primary = (desc->dwFlags & plat::DDSD_CAPS) != 0 &&
                       (desc->ddsCaps.dwCaps & plat::DDSCAPS_PRIMARYSURFACE) != 0;
  return primary ? CreatePrimary(*desc, out) : CreateOffscreen(*desc, out);
}

uint32_t ReleaseSurface(plat::Surface s) {
  SurfaceObject *obj = FindSurface(s);
  if (obj == nullptr || obj->refs == 0) {
    return 0;
  }
  const uint32_t left = --obj->refs;
  // A back buffer lives as long as its primary.
  if (left == 0 && !obj->backBuffer) {
    DestroySurface(obj);
  }
  return left;
}

HRESULT GetAttachedSurface(plat::Surface s, plat::DDSCAPS2 *caps, plat::Surface *out) {
  if (out == nullptr) {
    return plat::DDERR_INVALIDPARAMS;
  }
  *out = nullptr;
  SurfaceObject *obj = FindSurface(s);
  if (obj == nullptr) {
    return kInvalidObject;
  }
  if (caps == nullptr) {
    return plat::DDERR_INVALIDPARAMS;
  }
  if (obj->lost) {
    return plat::DDERR_SURFACELOST;
  }
  if (!obj->primary || obj->chain == nullptr ||
      (caps->dwCaps & (plat::DDSCAPS_BACKBUFFER | plat::DDSCAPS_FLIP)) == 0) {
    return plat::DDERR_NOTFOUND;
  }
  ++obj->chain->refs;
  *out = reinterpret_cast<plat::Surface>(obj->chain);
  return plat::DD_OK;
}

HRESULT Flip(plat::Surface s, plat::Surface target, uint32_t flags) {
  (void)flags;
  SurfaceObject *obj = FindSurface(s);
  if (obj == nullptr) {
    return kInvalidObject;
  }
  if (!obj->primary || obj->chain == nullptr) {
    return kNotFlippable;
  }
  SurfaceObject *back = obj->chain;
  if (target != nullptr && FindSurface(target) != back) {
    return plat::DDERR_INVALIDPARAMS;
  }
  if (obj->lost || back->lost) {
    return plat::DDERR_SURFACELOST;
  }
  if (Busy(*obj) || Busy(*back)) {
    return plat::DDERR_SURFACEBUSY;
  }
  std::swap(obj->pixels, back->pixels); // the old front becomes the back, uncleared
  return plat::DD_OK;
}

HRESULT Restore(plat::Surface s) {
  SurfaceObject *obj = FindSurface(s);
  if (obj == nullptr) {
    return kInvalidObject;
  }
  if (obj->backBuffer) {
    return kImplicitlyCreated; // it comes back with its primary
  }
  // Nothing comes back while the display is another program's, or runs a
  // mode that program set, until the application sets its own again.
  if (State().exclusiveAway || State().modeChangedElsewhere || !FitsMode(*obj)) {
    return kWrongMode;
  }
  if (!obj->lost) {
    return plat::DD_OK;
  }
  obj->lost = false;
  FillRestored(*obj);
  if (obj->primary && obj->chain != nullptr) {
    obj->chain->lost = false;
    FillRestored(*obj->chain);
  }
  return plat::DD_OK;
}

HRESULT IsLost(plat::Surface s) {
  const SurfaceObject *obj = FindSurface(s);
  if (obj == nullptr) {
    return kInvalidObject;
  }
  return obj->lost ? plat::DDERR_SURFACELOST : plat::DD_OK;
}

HRESULT Lock(plat::Surface s, plat::RECT *rect, plat::DDSURFACEDESC2 *desc, uint32_t flags,
             void *event) {
  (void)flags;
  (void)event;
  SurfaceObject *obj = FindSurface(s);
  if (obj == nullptr) {
    return kInvalidObject;
  }
  if (desc == nullptr) {
    return plat::DDERR_INVALIDPARAMS;
  }
  if (obj->lost) {
    return plat::DDERR_SURFACELOST;
  }
  if (Busy(*obj)) {
    return plat::DDERR_SURFACEBUSY;
  }
  int64_t offset = 0;
  if (rect != nullptr) {
    const plat::RECT r = *rect;
    if (r.left < 0 || r.top < 0 || r.left >= r.right || r.top >= r.bottom || r.right > obj->width ||
        r.bottom > obj->height) {
      return plat::DDERR_INVALIDRECT;
    }
    offset = int64_t{r.top} * obj->pitch + int64_t{r.left} * (obj->bpp / 8);
  }
  const uint32_t size = desc->dwSize;
  *desc = plat::DDSURFACEDESC2{};
  desc->dwSize = size;
  desc->dwFlags = plat::DDSD_CAPS | plat::DDSD_HEIGHT | plat::DDSD_WIDTH | plat::DDSD_PITCH |
                  plat::DDSD_PIXELFORMAT | plat::DDSD_LPSURFACE;
  desc->dwWidth = static_cast<uint32_t>(obj->width);
  desc->dwHeight = static_cast<uint32_t>(obj->height);
  desc->lPitch = obj->pitch;
  desc->lpSurface = obj->pixels.get() + offset;
  desc->ddpfPixelFormat = PixelFormatFor(obj->bpp);
  desc->ddsCaps.dwCaps = obj->primary ? plat::DDSCAPS_PRIMARYSURFACE | plat::DDSCAPS_FLIP |
                                            plat::DDSCAPS_COMPLEX | plat::DDSCAPS_FRONTBUFFER
                         : obj->backBuffer
                             ? plat::DDSCAPS_BACKBUFFER | plat::DDSCAPS_FLIP | plat::DDSCAPS_COMPLEX
                             : plat::DDSCAPS_OFFSCREENPLAIN;
  if (obj->hasKey) {
    desc->dwFlags |= 0x00010000u; // DDSD_CKSRCBLT
    desc->ddckCKSrcBlt = {obj->key, obj->key};
  }
  obj->locked = true;
  return plat::DD_OK;
}

HRESULT Unlock(plat::Surface s, plat::RECT *rect) {
  (void)rect;
  SurfaceObject *obj = FindSurface(s);
  if (obj == nullptr) {
    return kInvalidObject;
  }
  if (!obj->locked) {
    return plat::DDERR_NOTLOCKED;
  }
  obj->locked = false;
  return plat::DD_OK;
}

HRESULT SetColorKey(plat::Surface s, uint32_t flags, plat::DDCOLORKEY *key) {
  constexpr uint32_t kColorSpace = 0x00000001u; // DDCKEY_COLORSPACE: a range of keys
  SurfaceObject *obj = FindSurface(s);
  if (obj == nullptr) {
    return kInvalidObject;
  }
  if ((flags & plat::DDCKEY_SRCBLT) == 0) {
    return plat::DDERR_UNSUPPORTED; // only source keys for blits
  }
  if (key == nullptr) {
    obj->hasKey = false; // no key: blits copy every pixel
    obj->key = 0;
    return plat::DD_OK;
  }
  const uint32_t mask = KeyMask(obj->bpp);
  if ((flags & kColorSpace) != 0 &&
      (key->dwColorSpaceLowValue & mask) != (key->dwColorSpaceHighValue & mask)) {
    return plat::DDERR_UNSUPPORTED; // a single value, not a range
  }
  obj->hasKey = true;
  obj->key = key->dwColorSpaceLowValue & mask;
  return plat::DD_OK;
}

bool View(plat::Surface s, SurfaceView *out) {
  const SurfaceObject *obj = FindSurface(s);
  if (obj == nullptr || out == nullptr) {
    return false;
  }
  out->width = obj->width;
  out->height = obj->height;
  out->bpp = obj->bpp;
  out->pitch = obj->pitch;
  out->pixels = obj->pixels.get();
  out->hasKey = obj->hasKey;
  out->key = obj->key;
  return true;
}

uint32_t PixelRgb(plat::Surface s, int32_t x, int32_t y) {
  const SurfaceObject *obj = FindSurface(s);
  if (obj == nullptr || x < 0 || y < 0 || x >= obj->width || y >= obj->height) {
    return 0;
  }
  const int32_t bytes = obj->bpp / 8;
  const uint8_t *p = obj->pixels.get() + int64_t{y} * obj->pitch + int64_t{x} * bytes;
  return DecodePixel(obj->bpp, LoadPixel(p, bytes));
}

} // namespace soft
