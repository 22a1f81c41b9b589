// device_contexts.cpp - memory and surface device contexts and BitBlt.
//
// A memory context (CreateCompatibleDC) draws into the bitmap selected into
// it; a new one holds the stock 1 x 1 bitmap, which it hands back from its
// first SelectObject. A surface context (GetDC) draws into one surface; while
// it is out the surface is busy, as if locked. BitBlt copies from a memory
// context's bitmap into a surface (converting 0x00RRGGBB into the surface's
// pixel format) or into another bitmap, clipped to both.
#include "platform/soft/device_state.h"
#include "platform/soft/pixel_format.h"
#include "platform/soft/soft_device.h"

#include <algorithm>
#include <utility>

namespace soft {
namespace {

BitmapObject *StockBitmap() {
  DeviceState &st = State();
  if (st.stockBitmap == nullptr) {
    auto stock = std::make_unique<BitmapObject>();
    stock->stock = true;
    stock->image.width = 1;
    stock->image.height = 1;
    stock->image.pixels.assign(1, 0);
    st.stockBitmap = stock.get();
    st.bitmaps.emplace(stock.get(), std::move(stock));
  }
  return st.stockBitmap;
}

plat::HDC NewContext(std::unique_ptr<DeviceContext> dc) {
  DeviceContext *raw = dc.get();
  State().contexts.emplace(raw, std::move(dc));
  return reinterpret_cast<plat::HDC>(raw);
}

// Where a context draws: the pixels of its surface or of its bitmap.
struct Target {
  uint8_t *pixels = nullptr;
  int64_t pitch = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t bpp = 0;
};

bool TargetOf(const DeviceContext &dc, Target *out) {
  if (dc.surface != nullptr) {
    const SurfaceObject &s = *dc.surface;
    *out = {s.pixels.get(), s.pitch, s.width, s.height, s.bpp};
    return true;
  }
  if (dc.bitmap != nullptr && !dc.bitmap->stock) {
    DecodedBitmap &b = dc.bitmap->image;
    *out = {reinterpret_cast<uint8_t *>(b.pixels.data()), int64_t{b.width} * 4, b.width, b.height,
            32};
    return true;
  }
  return false;
}

// Clips a copy of `extent` pixels starting at `dst` in [0, dstSize) and at
// `src` in [0, srcSize); false when nothing is left.
bool ClipSpan(int64_t *dst, int64_t *src, int64_t *extent, int64_t dstSize, int64_t srcSize) {
  const int64_t skip = std::max<int64_t>({0, -*dst, -*src});
  *dst += skip;
  *src += skip;
  *extent -= skip;
  *extent = std::min({*extent, dstSize - *dst, srcSize - *src});
  return *extent > 0;
}

} // namespace

plat::HDC CreateCompatibleDC(plat::HDC dc) {
  if (dc != nullptr && FindContext(dc) == nullptr) {
    return nullptr;
  }
  auto made = std::make_unique<DeviceContext>();
  made->bitmap = StockBitmap();
  return NewContext(std::move(made));
}

void *SelectObject(plat::HDC dc, void *object) {
  DeviceContext *context = FindContext(dc);
  BitmapObject *bitmap = FindBitmap(object);
  if (context == nullptr || bitmap == nullptr || context->surface != nullptr) {
    return nullptr;
  }
  if (bitmap->selectedIn != nullptr && bitmap->selectedIn != context) {
    return nullptr; // a bitmap is the drawing surface of one context at a time
  }
  BitmapObject *previous = context->bitmap;
  if (previous != nullptr && !previous->stock) {
    previous->selectedIn = nullptr;
  }
  context->bitmap = bitmap;
  if (!bitmap->stock) {
    bitmap->selectedIn = context;
  }
  return previous;
}

int32_t DeleteDC(plat::HDC dc) {
  DeviceContext *context = FindContext(dc);
  if (context == nullptr || context->surface != nullptr) {
    return 0; // a surface's context goes back with ReleaseDC
  }
  if (context->bitmap != nullptr && !context->bitmap->stock) {
    context->bitmap->selectedIn = nullptr;
  }
  State().contexts.erase(context);
  return 1;
}

HRESULT GetDC(plat::Surface s, plat::HDC *out) {
  if (out == nullptr) {
    return plat::DDERR_INVALIDPARAMS;
  }
  *out = nullptr;
  SurfaceObject *surface = FindSurface(s);
  if (surface == nullptr) {
    return kInvalidObject;
  }
  if (surface->lost) {
    return plat::DDERR_SURFACELOST;
  }
  if (surface->dc != nullptr) {
    return kDcAlreadyCreated;
  }
  if (surface->locked) {
    return plat::DDERR_SURFACEBUSY;
  }
  auto made = std::make_unique<DeviceContext>();
  made->surface = surface;
  surface->dc = made.get();
  *out = NewContext(std::move(made));
  return plat::DD_OK;
}

HRESULT ReleaseDC(plat::Surface s, plat::HDC dc) {
  SurfaceObject *surface = FindSurface(s);
  if (surface == nullptr) {
    return kInvalidObject;
  }
  DeviceContext *context = FindContext(dc);
  if (context == nullptr || context->surface != surface) {
    return kNoDc;
  }
  surface->dc = nullptr;
  State().contexts.erase(context);
  return plat::DD_OK;
}

int32_t BitBlt(plat::HDC dst, int32_t x, int32_t y, int32_t w, int32_t h, plat::HDC src, int32_t sx,
               int32_t sy, uint32_t rop) {
  const DeviceContext *to = FindContext(dst);
  const DeviceContext *from = FindContext(src);
  if (to == nullptr || from == nullptr || rop != plat::SRCCOPY) {
    return 0;
  }
  // Only a bitmap is read; a surface's context is a target only.
  Target source;
  Target target;
  if (from->surface != nullptr || !TargetOf(*from, &source) || !TargetOf(*to, &target)) {
    return 0;
  }
  int64_t dx = x;
  int64_t dy = y;
  int64_t fx = sx;
  int64_t fy = sy;
  int64_t width = w;
  int64_t height = h;
  if (!ClipSpan(&dx, &fx, &width, target.width, source.width) ||
      !ClipSpan(&dy, &fy, &height, target.height, source.height)) {
    return 1; // nothing of it lies inside both
  }
  const auto *first = reinterpret_cast<const uint32_t *>(source.pixels + fy * source.pitch) + fx;
  uint8_t *out = target.pixels + dy * target.pitch + dx * (target.bpp / 8);
  return ConvertFromRgb(first, source.pitch, out, target.pitch, target.bpp,
                        static_cast<int32_t>(width), static_cast<int32_t>(height))
             ? 1
             : 0;
}

} // namespace soft
