// blit.cpp - BltFast and Blt: checking a blit, then running the pixel loops.
//
// The device follows DirectDraw's rectangle rules itself, with no clipper: a
// source or destination rectangle that is empty, inverted or reaches outside
// its surface is refused with DDERR_INVALIDRECT and nothing is drawn. Both
// surfaces must share a pixel format, and neither may be lost (answered with
// DDERR_SURFACELOST), locked or have a device context out. Coordinates are taken as the caller's
// raw 32-bit values and checked in 64-bit arithmetic, so no value can overflow.
#include "platform/soft/blit_loops.h"
#include "platform/soft/device_state.h"
#include "platform/soft/soft_device.h"

#include <cstring>

namespace soft {
namespace {

struct Box {
  int64_t left;
  int64_t top;
  int64_t right;
  int64_t bottom;
};

Box WholeSurface(const SurfaceObject &s) { return {0, 0, s.width, s.height}; }

Box FromRect(const plat::RECT &r) { return {r.left, r.top, r.right, r.bottom}; }

bool InsideSurface(const Box &b, const SurfaceObject &s) {
  return b.left >= 0 && b.top >= 0 && b.left < b.right && b.top < b.bottom && b.right <= s.width &&
         b.bottom <= s.height;
}

int32_t Width(const Box &b) { return static_cast<int32_t>(b.right - b.left); }
int32_t Height(const Box &b) { return static_cast<int32_t>(b.bottom - b.top); }

uint8_t *At(const SurfaceObject &s, const Box &b) {
  return s.pixels.get() + b.top * s.pitch + b.left * (s.bpp / 8);
}

HRESULT CheckPair(const SurfaceObject *dst, const SurfaceObject *src) {
  if (dst == nullptr || src == nullptr) {
    return kInvalidObject;
  }
  if (dst->lost || src->lost) {
    return plat::DDERR_SURFACELOST;
  }
  return plat::DD_OK;
}

HRESULT CheckDrawable(const SurfaceObject &dst, const SurfaceObject &src) {
  if (dst.bpp != src.bpp) {
    return plat::DDERR_INVALIDPIXELFORMAT;
  }
  if (dst.locked || dst.dc != nullptr || src.locked || src.dc != nullptr) {
    return plat::DDERR_SURFACEBUSY;
  }
  return plat::DD_OK;
}

// Runs the loops from srcBox of src into dstBox of dst. A blit within one
// surface reads from a copy of the source area so overlapping areas come out
// as if read before written.
HRESULT Draw(const SurfaceObject &src, const Box &srcBox, const SurfaceObject &dst,
             const Box &dstBox, bool keyed) {
  const int32_t bytes = dst.bpp / 8;
  ConstPixelArea from{At(src, srcBox), src.pitch, Width(srcBox), Height(srcBox)};
  const PixelArea to{At(dst, dstBox), dst.pitch, Width(dstBox), Height(dstBox)};
  PixelMemory copy;
  if (&src == &dst) {
    const int64_t rowBytes = int64_t{from.width} * bytes;
    copy.reset(static_cast<uint8_t *>(std::malloc(static_cast<size_t>(rowBytes * from.height))));
    if (copy == nullptr) {
      return plat::DDERR_OUTOFMEMORY;
    }
    for (int32_t y = 0; y < from.height; ++y) {
      std::memcpy(copy.get() + y * rowBytes, from.pixels + y * from.pitch,
                  static_cast<size_t>(rowBytes));
    }
    from = {copy.get(), rowBytes, from.width, from.height};
  }
  const BlitLoops &loops = ActiveBlitLoops();
  const bool useKey = keyed && src.hasKey;
  if (from.width == to.width && from.height == to.height) {
    if (useKey) {
      loops.copyKeyed(from, to, bytes, src.key);
    } else {
      loops.copy(from, to, bytes);
    }
  } else {
    loops.stretch(from, to, bytes, useKey, src.key);
  }
  return plat::DD_OK;
}

} // namespace

HRESULT BltFast(plat::Surface dst, uint32_t x, uint32_t y, plat::Surface src, plat::RECT *srcRect,
                uint32_t flags) {
  const SurfaceObject *to = FindSurface(dst);
  const SurfaceObject *from = FindSurface(src);
  HRESULT hr = CheckPair(to, from);
  if (hr != plat::DD_OK) {
    return hr;
  }
  const Box srcBox = srcRect != nullptr ? FromRect(*srcRect) : WholeSurface(*from);
  if (!InsideSurface(srcBox, *from)) {
    return plat::DDERR_INVALIDRECT;
  }
  const Box dstBox{x, y, int64_t{x} + (srcBox.right - srcBox.left),
                   int64_t{y} + (srcBox.bottom - srcBox.top)};
  if (!InsideSurface(dstBox, *to)) {
    return plat::DDERR_INVALIDRECT;
  }
  hr = CheckDrawable(*to, *from);
  if (hr != plat::DD_OK) {
    return hr;
  }
  return Draw(*from, srcBox, *to, dstBox, (flags & plat::DDBLTFAST_SRCCOLORKEY) != 0);
}

HRESULT Blt(plat::Surface dst, plat::RECT *dstRect, plat::Surface src, plat::RECT *srcRect,
            uint32_t flags, void *fx) {
  (void)fx;
  const SurfaceObject *to = FindSurface(dst);
  if (to == nullptr) {
    return kInvalidObject;
  }
  if (src == nullptr) {
    return plat::DDERR_INVALIDPARAMS; // colour fills are not offered
  }
  const SurfaceObject *from = FindSurface(src);
  HRESULT hr = CheckPair(to, from);
  if (hr != plat::DD_OK) {
    return hr;
  }
  const Box srcBox = srcRect != nullptr ? FromRect(*srcRect) : WholeSurface(*from);
  const Box dstBox = dstRect != nullptr ? FromRect(*dstRect) : WholeSurface(*to);
  if (!InsideSurface(srcBox, *from) || !InsideSurface(dstBox, *to)) {
    return plat::DDERR_INVALIDRECT;
  }
  hr = CheckDrawable(*to, *from);
  if (hr != plat::DD_OK) {
    return hr;
  }
  return Draw(*from, srcBox, *to, dstBox, (flags & plat::DDBLT_KEYSRC) != 0);
}

} // namespace soft
