// direct_draw.cpp - the DirectDraw calls the desktop shapes itself: a display
// mode is presented in the window and every flip shows the new front buffer.
// The rest go to the soft device unchanged (platform/soft/plat_direct_draw.cpp).
#include "platform/sdl/backend_state.h"
#include "platform/sdl/portable_modes.h"
#include "platform/soft/soft_device.h"

#include <cstdio>
#include <string>

namespace sdlplat {
namespace {
uint32_t framesPresented = 0;
} // namespace

uint32_t FramesPresented() { return framesPresented; }

} // namespace sdlplat

namespace plat {

HRESULT SetDisplayMode(DirectDraw4 dd, uint32_t w, uint32_t h, uint32_t bpp, uint32_t refresh,
                       uint32_t flags) {
  // A mode that a Windows display may refuse, or show in other colours, is
  // named on the debug output; with strict modes it is refused here as such a
  // display refuses it, and the line says so. A mode the device itself
  // cannot make is named with the device's reason: Windows is not to blame.
  char line[320];
  if (sdlplat::DescribeUnportableMode(w, h, bpp, sdlplat::strictModes, line, sizeof line)) {
    if (sdlplat::strictModes) {
      OutputDebugStringA(line);
      return DDERR_INVALIDMODE;
    }
    if (const std::string why = soft::WhyNoMode(w, h, bpp); !why.empty()) {
      std::snprintf(line, sizeof line,
                    "SetDisplayMode %ux%ux%u: the desktop host cannot make "
                    "this mode: %s\n",
                    w, h, bpp, why.c_str());
    }
    OutputDebugStringA(line);
  }
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

HRESULT Flip(Surface s, Surface target, uint32_t flags) {
  const HRESULT result = soft::Flip(s, target, flags);
  if (result == DD_OK) {
    ++sdlplat::framesPresented;
    sdlplat::PresentFrontBuffer();
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
