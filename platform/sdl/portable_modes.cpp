// portable_modes.cpp - the portable display modes and the line naming others.
#include "platform/sdl/portable_modes.h"

#include <cstdio>

namespace sdlplat {

namespace {

struct Size {
  uint32_t w;
  uint32_t h;
};

constexpr Size kPortableSizes[] = {{640, 480}, {800, 600}, {1024, 768}, {1280, 1024}};

bool PortableSize(uint32_t w, uint32_t h) {
  for (const Size &size : kPortableSizes) {
    if (size.w == w && size.h == h) {
      return true;
    }
  }
  return false;
}

} // namespace

bool IsPortableMode(uint32_t w, uint32_t h, uint32_t bpp) {
  return PortableSize(w, h) && (bpp == 16 || bpp == 32);
}

bool DescribeUnportableMode(uint32_t w, uint32_t h, uint32_t bpp, bool refused, char *out,
                            size_t size) {
  if (IsPortableMode(w, h, bpp) || out == nullptr || size == 0) {
    return false;
  }
  const char *by = refused ? "refused by --strict-modes: " : "";
  if (bpp == 8 && PortableSize(w, h)) {
    std::snprintf(out, size,
                  "SetDisplayMode %ux%ux%u: %son Windows the host attaches no palette, so the "
                  "colours of an 8-bit mode need not be the bitmaps' own\n",
                  w, h, bpp, by);
  } else {
    std::snprintf(out, size,
                  "SetDisplayMode %ux%ux%u: %sWindows displays may refuse this mode; the "
                  "portable modes are 640x480, 800x600, 1024x768 and 1280x1024 at 16 or 32 "
                  "bits\n",
                  w, h, bpp, by);
  }
  return true;
}

} // namespace sdlplat
